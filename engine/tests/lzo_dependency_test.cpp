#include <lzo/lzo1x.h>

#include <gtest/gtest.h>

#include <vector>

TEST(LzoDependency, CompressesAndDecompressesABuffer)
{
    ASSERT_EQ(lzo_init(), LZO_E_OK);
    std::vector<unsigned char> original(20000);
    for (size_t i = 0; i < original.size(); ++i)
        original[i] = static_cast<unsigned char>((i / 7) % 41);

    std::vector<unsigned char> packed(original.size() + original.size() / 16 + 64 + 3);
    std::vector<unsigned char> work(LZO1X_1_MEM_COMPRESS);
    lzo_uint packedSize = packed.size();
    ASSERT_EQ(lzo1x_1_compress(original.data(), original.size(), packed.data(), &packedSize,
                               work.data()),
              LZO_E_OK);
    EXPECT_LT(packedSize, original.size() / 4);

    std::vector<unsigned char> unpacked(original.size());
    lzo_uint unpackedSize = unpacked.size();
    ASSERT_EQ(lzo1x_decompress_safe(packed.data(), packedSize, unpacked.data(), &unpackedSize,
                                    nullptr),
              LZO_E_OK);
    EXPECT_EQ(unpackedSize, original.size());
    EXPECT_EQ(unpacked, original);

    // Too small an output buffer is refused, not overrun.
    lzo_uint shortSize = 100;
    EXPECT_NE(lzo1x_decompress_safe(packed.data(), packedSize, unpacked.data(), &shortSize,
                                    nullptr),
              LZO_E_OK);
}
