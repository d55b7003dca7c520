#include "gallery/label_fitting.h"

#include <algorithm>

std::string FitLabelText(const std::string& text, const std::string& suffix,
                         const std::function<bool(const std::string&)>& fits)
{
    std::string shown = text;
    bool cut = false;
    while (!shown.empty() && !fits(shown)) {
        shown.pop_back();
        cut = true;
    }
    if (!cut)
        return shown;
    shown.resize(shown.size() - std::min<size_t>(3, shown.size()));
    return shown + suffix;
}
