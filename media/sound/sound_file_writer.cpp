#include "media/sound/sound_file_writer.h"

#include <vector>
#include "framework/pending_error.h"
#include "media/sound/sound_codec.h"

bool MMWriteSound(MMSoundResourceFile& file, int16_t item, const MMSoundItemSource& sound)
{
    int32_t channels = sound.stereo ? 2 : 1;
    if ((!sound.samples && sound.frameCount != 0) || sound.frameCount < 0 ||
        sound.frameCount > INT32_MAX / 4 || sound.rateCode < 0 || sound.rateCode > 2)
        return FailWithoutError();
    int32_t sampleCount = sound.frameCount * channels;
    int32_t pcmBytes = 2 * sampleCount;

    std::vector<uint8_t> envelope;
    if (sound.envelope)
        BuildLevelEnvelope(sound.samples, pcmBytes, sound.rateCode, sound.stereo, true, envelope);
    std::vector<uint8_t> codes;
    if (sound.compress) {
        codes.resize(sampleCount);
        UUSoundBytesEncoder encoder(channels);
        encoder.Encode(sound.samples, sampleCount, codes.data());
    }

    int32_t end = -1;
    bool ok = file.SetRateCode(item, sound.rateCode) && file.Set16Bit(item, true) &&
              file.SetStereo(item, sound.stereo) && file.SetStreamMode(item, sound.streamed) &&
              file.SetEnvelopeKind(item, sound.envelope) &&
              file.SetEnvelopeSize(item, int32_t(envelope.size())) &&
              file.SetCompressed(item, sound.compress) &&
              file.SetDecodedSize(item, sound.compress ? pcmBytes : 0) &&
              file.SetItemName(item, sound.name) && file.SetItemValue(item, sound.value);
    if (!ok) return false;
    if (!file.Stream().Seek(0, FS_SEEK_FROM_END, &end)) return FailWithoutError();
    if (!file.SetItemOffset(item, end)) return false;
    FSWriter& out = file.Writer();
    if (!envelope.empty()) out.WriteBytes(envelope.data(), int32_t(envelope.size()));
    if (sound.compress) {
        if (!codes.empty()) out.WriteBytes(codes.data(), int32_t(codes.size()));
    } else if (pcmBytes > 0) {
        out.WriteShorts(sound.samples, sampleCount);
    }
    if (out.GetError() != 0) return FailWithoutError();
    return true;
}
