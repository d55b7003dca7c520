#include "brushes/nib_set.h"

#include <algorithm>

#include "canvas/resample.h"
#include "media/bitmap.h"

void NibSet::AddNib(const KVXPlaneUChar& master, int32_t side)
{
    auto* nib = new (gDefaultHeap) KVXPlaneUCharTop({side, side});
    planes.push_back(nib);
    sizes.push_back(int16_t(side));
    offsets.push_back(int16_t(side / 2));
    nib->Fill(0);
    MMBitmap source;
    MMBitmap target;
    master.Describe(source);
    nib->Describe(target);
    ResampleBitmapWhole(source, target);
}

void NibSet::Build(const KVXPlaneUChar& master, int16_t a, int16_t b)
{
    Clear();
    double fa = a * 0.00392156862745098;
    double fb = b * 0.00392156862745098;
    int32_t w = master.width;
    int32_t count16 = int16_t(int32_t(fb * w)) - int16_t(int32_t(fa * w));
    if (count16 >= 20)
        count16 = 20;
    // A minimum above the maximum would leave no nib at all: it gets the
    // single nib of the minimum, as equal settings do.
    if (count16 <= 0) {
        AddNib(master, int32_t(std::max(fa * w, 1.0)));
        indexScale = 0.0;
        count = 1;
        return;
    }
    double step = count16 > 1 ? (fb - fa) / (count16 - 1) : 0.0;
    double scale = fa;
    for (int32_t k = 0; k < count16; ++k) {
        AddNib(master, int32_t(std::max(w * scale, 1.0)));
        scale += step;
    }
    count = int16_t(planes.size());
    indexScale = count * 0.05;
}

void NibSet::Clear()
{
    for (KVXPlaneUCharTop* nib : planes)
        delete nib;
    planes.clear();
    sizes.clear();
    offsets.clear();
    std::vector<KVXPlaneUCharTop*>().swap(planes);
    std::vector<int16_t>().swap(sizes);
    std::vector<int16_t>().swap(offsets);
    count = 0;
    indexScale = 0.0;
}
