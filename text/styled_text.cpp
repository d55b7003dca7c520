#include "text/styled_text.h"

#include <algorithm>
#include <cstring>

namespace {

int32_t CharacterBytesAt(const std::string& text, int32_t byte, UINT codePage)
{
    if (byte + 1 < int32_t(text.size()) && IsDBCSLeadByteEx(codePage, BYTE(text[byte])))
        return 2;
    return 1;
}

// The byte offset after walking n characters from a byte offset.
int32_t WalkCharacters(const std::string& text, int32_t byte, int32_t n, UINT codePage)
{
    while (n-- > 0 && byte < int32_t(text.size()))
        byte += CharacterBytesAt(text, byte, codePage);
    return byte;
}

}  // namespace

// Styles

StyleInformation::StyleInformation(const std::string& face, int32_t size, const MMColor& colour,
                                   bool bold, bool italic, bool underline, int32_t attribute)
    : face(face),
      size(size),
      colour(colour),
      bold(bold),
      italic(italic),
      underline(underline),
      attribute(attribute)
{
}

StyleInformation::~StyleInformation() { End(); }

StyleInfoBase* StyleInformation::Clone() const
{
    return new StyleInformation(face, size, colour, bold, italic, underline, attribute);
}

void StyleInformation::CopyInto(StyleInfoBase& other) const
{
    if (auto* target = dynamic_cast<StyleInformation*>(&other)) {
        target->End();
        target->face = face;
        target->size = size;
        target->colour = colour;
        target->bold = bold;
        target->italic = italic;
        target->underline = underline;
        target->attribute = attribute;
    }
}

bool StyleInformation::Equals(const StyleInfoBase& other) const
{
    const auto* that = dynamic_cast<const StyleInformation*>(&other);
    if (that == nullptr || face != that->face || size != that->size || bold != that->bold ||
        italic != that->italic || underline != that->underline || attribute != that->attribute)
        return false;
    if (colour.index == -1 && that->colour.index == -1)
        return colour.red == that->colour.red && colour.green == that->colour.green &&
               colour.blue == that->colour.blue;
    return colour.index != -1 && colour.index == that->colour.index;
}

void StyleInformation::Begin(HDC dc)
{
    End();
    font = CreateFontA(-size, 0, 0, 0, bold ? 700 : 400, italic, underline, 0, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                       face.c_str());
    if (font == nullptr)
        return;
    bound = dc;
    previous = SelectObject(dc, font);
}

void StyleInformation::End()
{
    if (bound && previous)
        SelectObject(bound, previous);
    if (font)
        DeleteObject(font);
    font = nullptr;
    previous = nullptr;
    bound = nullptr;
}

Pair StyleInformation::DrawText(HDC dc, const Pair& start, const char* text, int32_t length)
{
    Pair at = start;
    UINT oldAlign = SetTextAlign(dc, TA_BASELINE | TA_LEFT);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColour = SetTextColor(dc, RGB(colour.red, colour.green, colour.blue));
    for (int32_t i = 0; i < length;) {
        int32_t n = (i + 1 < length && IsDBCSLeadByte(BYTE(text[i]))) ? 2 : 1;
        if (text[i] != '\n') {
            TextOutA(dc, at.x, at.y, text + i, n);
            SIZE extent = {0, 0};
            GetTextExtentPoint32A(dc, text + i, n, &extent);
            at.x += extent.cx;
        }
        i += n;
    }
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    SetTextAlign(dc, oldAlign);
    return at;
}

TSMMetrics StyleInformation::MeasureText(HDC dc, const char* text, int32_t length)
{
    TSMMetrics metrics;
    SIZE extent = {0, 0};
    GetTextExtentPoint32A(dc, text, length, &extent);
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    metrics.advance = extent.cx;
    metrics.ascent = tm.tmAscent;
    metrics.descent = tm.tmDescent;
    metrics.rightExtent = extent.cx;
    metrics.leading = tm.tmExternalLeading;
    return metrics;
}

TSMMetrics StyleInformation::MeasureCharacter(HDC dc, const char* character, int32_t bytes)
{
    TSMMetrics metrics = MeasureText(dc, character, bytes);
    ABC abc = {};
    if (bytes == 1 && GetCharABCWidthsA(dc, BYTE(character[0]), BYTE(character[0]), &abc)) {
        metrics.leftOverhang = abc.abcA < 0 ? -abc.abcA : 0;
        metrics.rightExtent = metrics.advance + (abc.abcC < 0 ? -abc.abcC : 0);
    }
    return metrics;
}

// The store

TSMTextStore::TSMTextStore(int32_t capacity, UINT codePage) : capacity(capacity), codePage(codePage)
{
}

TSMTextStore::TSMTextStore(const TSMTextStore& other) { *this = other; }

TSMTextStore& TSMTextStore::operator=(const TSMTextStore& other)
{
    if (this == &other)
        return *this;
    text = other.text;
    capacity = other.capacity;
    characters = other.characters;
    codePage = other.codePage;
    runs.clear();
    for (const TSMStyleRun& run : other.runs)
        runs.push_back({std::unique_ptr<StyleInfoBase>(run.style->Clone()), run.characters,
                        run.bytes});
    return *this;
}

int32_t TSMTextStore::CountCharacters(const char* text, int32_t bytes, UINT codePage)
{
    int32_t n = 0;
    for (int32_t i = 0; i < bytes; ++n)
        i += (i + 1 < bytes && IsDBCSLeadByteEx(codePage, BYTE(text[i]))) ? 2 : 1;
    return n;
}

int32_t TSMTextStore::ByteOffset(int32_t character) const
{
    return WalkCharacters(text, 0, character, codePage);
}

int32_t TSMTextStore::RunAt(int32_t character, int32_t* firstCharacter, int32_t* firstByte) const
{
    int32_t c = 0;
    int32_t b = 0;
    for (size_t i = 0; i < runs.size(); ++i) {
        if (character < c + runs[i].characters || i + 1 == runs.size()) {
            *firstCharacter = c;
            *firstByte = b;
            return int32_t(i);
        }
        c += runs[i].characters;
        b += runs[i].bytes;
    }
    *firstCharacter = 0;
    *firstByte = 0;
    return -1;
}

const StyleInfoBase* TSMTextStore::StyleAt(int32_t character) const
{
    int32_t c, b;
    int32_t run = RunAt(character, &c, &b);
    return run < 0 ? nullptr : runs[size_t(run)].style.get();
}

void TSMTextStore::SplitAt(int32_t character)
{
    if (character <= 0 || character >= characters)
        return;
    int32_t first, firstByte;
    int32_t index = RunAt(character, &first, &firstByte);
    if (index < 0 || first == character)
        return;
    TSMStyleRun& run = runs[size_t(index)];
    int32_t headCharacters = character - first;
    int32_t headBytes = WalkCharacters(text, firstByte, headCharacters, codePage) - firstByte;
    TSMStyleRun tail{std::unique_ptr<StyleInfoBase>(run.style->Clone()),
                     run.characters - headCharacters, run.bytes - headBytes};
    run.characters = headCharacters;
    run.bytes = headBytes;
    runs.insert(runs.begin() + index + 1, std::move(tail));
}

void TSMTextStore::Merge()
{
    for (size_t i = 1; i < runs.size();) {
        if (runs[i].characters == 0) {
            runs.erase(runs.begin() + long(i));
        } else if (runs[i - 1].style->Equals(*runs[i].style)) {
            runs[i - 1].characters += runs[i].characters;
            runs[i - 1].bytes += runs[i].bytes;
            runs.erase(runs.begin() + long(i));
        } else {
            ++i;
        }
    }
    if (!runs.empty() && runs[0].characters == 0 && runs.size() > 1)
        runs.erase(runs.begin());
}

bool TSMTextStore::Insert(int32_t at, const char* inserted, int32_t bytes, const StyleInfoBase& style)
{
    if (bytes <= 0 || Bytes() + bytes + 1 > capacity)
        return false;
    at = std::clamp(at, 0, characters);
    int32_t n = CountCharacters(inserted, bytes, codePage);
    int32_t byte = ByteOffset(at);
    SplitAt(at);
    size_t index = 0;
    for (int32_t c = 0; index < runs.size() && c < at; ++index)
        c += runs[index].characters;
    text.insert(size_t(byte), inserted, size_t(bytes));
    characters += n;
    runs.insert(runs.begin() + long(index), TSMStyleRun{std::unique_ptr<StyleInfoBase>(style.Clone()), n, bytes});
    Merge();
    return true;
}

bool TSMTextStore::InsertStore(int32_t at, const TSMTextStore& other)
{
    if (other.Bytes() == 0)
        return true;
    if (Bytes() + other.Bytes() + 1 > capacity)
        return false;
    int32_t byte = 0;
    for (const TSMStyleRun& run : other.runs) {
        Insert(at, other.text.data() + byte, run.bytes, *run.style);
        at += run.characters;
        byte += run.bytes;
    }
    return true;
}

void TSMTextStore::Delete(int32_t from, int32_t to)
{
    from = std::clamp(from, 0, characters);
    to = std::clamp(to, from, characters);
    if (from == to)
        return;
    SplitAt(from);
    SplitAt(to);
    int32_t fromByte = ByteOffset(from);
    int32_t toByte = ByteOffset(to);
    int32_t c = 0;
    for (size_t i = 0; i < runs.size();) {
        int32_t runStart = c;
        c += runs[i].characters;
        if (runStart >= from && c <= to)
            runs.erase(runs.begin() + long(i));
        else
            ++i;
        if (c >= to && runStart >= to)
            break;
    }
    text.erase(size_t(fromByte), size_t(toByte - fromByte));
    characters -= to - from;
    Merge();
}

void TSMTextStore::SetStyle(int32_t from, int32_t to, const StyleInfoBase& style)
{
    from = std::clamp(from, 0, characters);
    to = std::clamp(to, from, characters);
    if (from == to)
        return;
    SplitAt(from);
    SplitAt(to);
    int32_t c = 0;
    for (TSMStyleRun& run : runs) {
        if (c >= from && c + run.characters <= to)
            run.style.reset(style.Clone());
        c += run.characters;
    }
    Merge();
}

TSMTextStore TSMTextStore::CopyRange(int32_t from, int32_t to) const
{
    TSMTextStore copy(*this);
    copy.Delete(to, characters);
    copy.Delete(0, from);
    return copy;
}

void TSMTextStore::Clear()
{
    text.clear();
    characters = 0;
    runs.clear();
}

// The iterator

TSMRunIterator::TSMRunIterator(const TSMTextStore& store, int32_t from) : store(store)
{
    int32_t first = 0;
    int32_t firstByte = 0;
    int32_t index = store.RunAt(from, &first, &firstByte);
    left = store.Characters() - from;
    if (index < 0) {
        left = 0;
        return;
    }
    run = size_t(index);
    offset = from - first;
    byte = store.ByteOffset(from);
}

const StyleInfoBase* TSMRunIterator::Style() const
{
    return run < store.Runs().size() ? store.Runs()[run].style.get() : nullptr;
}

int32_t TSMRunIterator::CharacterBytes() const
{
    return CharacterBytesAt(store.Text(), byte, store.CodePage());
}

void TSMRunIterator::Next()
{
    if (AtEnd())
        return;
    byte += CharacterBytes();
    --left;
    if (++offset >= store.Runs()[run].characters) {
        ++run;
        offset = 0;
    }
}

void TSMUndoBuffer::Clear(UINT codePage)
{
    start = end = 0;
    removed = TSMTextStore(removed.Capacity(), codePage);
}

// The edit object

TSMEdit::TSMEdit(int32_t capacity, const StyleInfoBase& typingStyle, UINT codePage)
    : store(capacity, codePage), typing(typingStyle.Clone())
{
    current.removed = TSMTextStore(capacity, codePage);
    spare.removed = TSMTextStore(capacity, codePage);
}

void TSMEdit::UpdateTypingStyle()
{
    if (store.Characters() == 0)
        return;
    if (const StyleInfoBase* style = store.StyleAt(start > 0 ? start - 1 : 0))
        typing.reset(style->Clone());
}

void TSMEdit::SetSelection(int32_t a, int32_t b, bool force)
{
    if (a > b)
        std::swap(a, b);
    a = std::clamp(a, 0, store.Characters());
    b = std::clamp(b, 0, store.Characters());
    bool moved = a != start;
    bool emptiness = (a == b) != (start == end);
    start = a;
    end = b;
    startByte = store.ByteOffset(a);
    endByte = store.ByteOffset(b);
    if (store.Characters() > 0 && (moved || emptiness || force))
        UpdateTypingStyle();
}

void TSMEdit::SaveSelection()
{
    current.removed = store.CopyRange(start, end);
    current.start = current.end = start;
}

void TSMEdit::Notify(int32_t oldStart, int32_t oldEnd)
{
    for (auto& listener : listeners)
        listener.first(listener.second, oldStart, oldEnd, start, end);
}

bool TSMEdit::Insert(const TSMTextStore& inserted)
{
    if (inserted.Bytes() == 0)
        return false;
    if (store.Capacity() - store.Bytes() - 1 < inserted.Bytes() - SelectionBytes())
        return false;
    int32_t oldStart = start;
    int32_t oldEnd = end;
    SaveSelection();
    store.Delete(start, end);
    bool done = store.InsertStore(start, inserted);
    int32_t after = done ? start + inserted.Characters() : start;
    current.start = start;
    current.end = after;
    SetSelection(after, after);
    Notify(oldStart, oldEnd);
    return done;
}

bool TSMEdit::InsertText(const char* text, const StyleInfoBase* style)
{
    int32_t bytes = text ? int32_t(std::strlen(text)) : 0;
    TSMTextStore inserted(bytes + 1, store.CodePage());
    if (bytes > 0)
        inserted.Insert(0, text, bytes, style ? *style : *typing);
    return Insert(inserted);
}

bool TSMEdit::InsertCharacterCode(uint32_t code)
{
    char text[3] = {char((code >> 16) & 0xFF), 0, 0};
    if (code >= 0x1000000)
        text[1] = char(code >> 24);
    return InsertText(text);
}

bool TSMEdit::InsertStore(const TSMTextStore& other) { return Insert(other); }

void TSMEdit::DeleteSelection()
{
    int32_t oldStart = start;
    int32_t oldEnd = end;
    SaveSelection();
    store.Delete(start, end);
    SetSelection(start, start);
    current.start = current.end = start;
    Notify(oldStart, oldEnd);
}

void TSMEdit::SetSelectionStyle(const StyleInfoBase& style)
{
    if (start != end) {
        SaveSelection();
        store.SetStyle(start, end, style);
        current.start = start;
        current.end = end;
    }
    typing.reset(style.Clone());
}

void TSMEdit::Undo()
{
    if (current.IsEmpty())
        return;
    spare.Clear(store.CodePage());
    spare.removed = store.CopyRange(current.start, current.end);
    store.Delete(current.start, current.end);
    store.InsertStore(current.start, current.removed);
    int32_t restoredEnd = current.start + current.removed.Characters();
    spare.start = current.start;
    spare.end = restoredEnd;
    std::swap(current, spare);
    spare.Clear(store.CodePage());
    int32_t oldStart = start;
    int32_t oldEnd = end;
    SetSelection(current.start, restoredEnd, true);
    Notify(oldStart, oldEnd);
}

void TSMEdit::AddSelectionListener(SelectionListener listener, void* context)
{
    listeners.emplace_back(listener, context);
}

Pair TSMEdit::MeasureRange(HDC dc, int32_t from, int32_t to) const
{
    int32_t sum = 0;
    int32_t ascent = 0;
    int32_t descent = 0;
    StyleInfoBase* bound = nullptr;
    for (TSMRunIterator it(store, from); !it.AtEnd() && from < to; it.Next(), ++from) {
        StyleInfoBase* style = const_cast<StyleInfoBase*>(it.Style());
        if (style != bound) {
            if (bound)
                bound->End();
            style->Begin(dc);
            bound = style;
        }
        TSMMetrics m = style->MeasureCharacter(dc, it.Character(), it.CharacterBytes());
        sum += m.advance;
        ascent = std::max(ascent, m.ascent);
        descent = std::max(descent, m.descent);
    }
    if (bound)
        bound->End();
    return Pair{sum, ascent + descent};
}

void TSMEdit::DrawRange(HDC dc, const Pair& startPoint, int32_t from, int32_t to) const
{
    Pair at = startPoint;
    int32_t c = 0;
    int32_t byte = 0;
    for (const TSMStyleRun& run : store.Runs()) {
        int32_t runFrom = std::max(from, c);
        int32_t runTo = std::min(to, c + run.characters);
        if (runFrom < runTo) {
            int32_t a = WalkCharacters(store.Text(), byte, runFrom - c, store.CodePage());
            int32_t b = WalkCharacters(store.Text(), a, runTo - runFrom, store.CodePage());
            run.style->Begin(dc);
            at = run.style->DrawText(dc, at, store.Text().data() + a, b - a);
            run.style->End();
        }
        c += run.characters;
        byte += run.bytes;
    }
}
