#pragma once
// A small engine for editable double-byte text with character styles: a
// text store grouped into style runs, styles that measure and draw their
// characters on a device context, one level of undo that a second undo takes
// back, and an edit object with a selection.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/color.h"
#include "framework/geometry.h"

struct TSMMetrics {
    int32_t advance = 0;
    int32_t ascent = 0;
    int32_t descent = 0;
    int32_t leftOverhang = 0;
    int32_t rightExtent = 0;
    int32_t leading = 0;
};

class StyleInfoBase {
public:
    virtual ~StyleInfoBase() = default;
    virtual StyleInfoBase* Clone() const = 0;
    virtual void CopyInto(StyleInfoBase& other) const = 0;
    virtual bool Equals(const StyleInfoBase& other) const { return false; }
    // Answers the point after the text.
    virtual Pair DrawText(HDC dc, const Pair& start, const char* text, int32_t length) = 0;
    virtual void Begin(HDC dc) = 0;
    virtual void End() = 0;
    virtual TSMMetrics MeasureText(HDC dc, const char* text, int32_t length) = 0;
    virtual TSMMetrics MeasureCharacter(HDC dc, const char* character, int32_t bytes) = 0;
};

class StyleInformation : public StyleInfoBase {
public:
    StyleInformation(const std::string& face, int32_t size, const MMColor& colour, bool bold = false,
                     bool italic = false, bool underline = false, int32_t attribute = 0);
    ~StyleInformation() override;

    StyleInfoBase* Clone() const override;
    void CopyInto(StyleInfoBase& other) const override;
    // Face names, size, bold, italic, underline, then the colours (palette
    // colours by index, others by their bytes).
    bool Equals(const StyleInfoBase& other) const override;
    Pair DrawText(HDC dc, const Pair& start, const char* text, int32_t length) override;
    void Begin(HDC dc) override;
    void End() override;
    TSMMetrics MeasureText(HDC dc, const char* text, int32_t length) override;
    TSMMetrics MeasureCharacter(HDC dc, const char* character, int32_t bytes) override;

    std::string face;
    int32_t size;
    MMColor colour;
    bool bold;
    bool italic;
    bool underline;
    int32_t attribute;

private:
    HFONT font = nullptr;
    HGDIOBJ previous = nullptr;
    HDC bound = nullptr;
};

struct TSMStyleRun {
    std::unique_ptr<StyleInfoBase> style;
    int32_t characters = 0;
    int32_t bytes = 0;
};

// Text of one code page; a lead byte and its trail byte are one character.
class TSMTextStore {
public:
    explicit TSMTextStore(int32_t capacity = 4096, UINT codePage = 932);
    TSMTextStore(const TSMTextStore& other);
    TSMTextStore& operator=(const TSMTextStore& other);

    static int32_t CountCharacters(const char* text, int32_t bytes, UINT codePage);
    int32_t ByteOffset(int32_t character) const;
    // The run holding the character, with that run's first character and byte.
    int32_t RunAt(int32_t character, int32_t* firstCharacter, int32_t* firstByte) const;
    TSMTextStore CopyRange(int32_t from, int32_t to) const;
    bool Insert(int32_t at, const char* text, int32_t bytes, const StyleInfoBase& style);
    bool InsertStore(int32_t at, const TSMTextStore& other);
    void Delete(int32_t from, int32_t to);
    void SetStyle(int32_t from, int32_t to, const StyleInfoBase& style);
    void Clear();

    const std::string& Text() const { return text; }
    int32_t Bytes() const { return int32_t(text.size()); }
    int32_t Characters() const { return characters; }
    int32_t Capacity() const { return capacity; }
    UINT CodePage() const { return codePage; }
    const std::vector<TSMStyleRun>& Runs() const { return runs; }
    // The style of a character (the last run's past the end); null when empty.
    const StyleInfoBase* StyleAt(int32_t character) const;

private:
    void SplitAt(int32_t character);
    void Merge();

    std::string text;
    int32_t capacity;
    int32_t characters = 0;
    UINT codePage;
    std::vector<TSMStyleRun> runs;
};

// Walks a store one character at a time, run by run.
class TSMRunIterator {
public:
    explicit TSMRunIterator(const TSMTextStore& store, int32_t from = 0);
    bool AtEnd() const { return left <= 0; }
    const StyleInfoBase* Style() const;
    const char* Character() const { return store.Text().data() + byte; }
    int32_t CharacterBytes() const;
    bool RunStarts() const { return offset == 0; }
    void Next();

private:
    const TSMTextStore& store;
    size_t run = 0;
    int32_t offset = 0;
    int32_t byte = 0;
    int32_t left = 0;
};

struct TSMUndoBuffer {
    int32_t start = 0;
    int32_t end = 0;
    TSMTextStore removed;
    bool IsEmpty() const { return removed.Bytes() == 0 && start == end; }
    void Clear(UINT codePage);
};

class TSMEdit {
public:
    TSMEdit(int32_t capacity, const StyleInfoBase& typingStyle, UINT codePage = 932);

    void SetSelection(int32_t a, int32_t b, bool force = false);
    bool InsertText(const char* text, const StyleInfoBase* style = nullptr);
    // Bits 16-23 the first byte, bits 24-31 the second when the code is at
    // least 0x1000000.
    bool InsertCharacterCode(uint32_t code);
    bool InsertStore(const TSMTextStore& other);
    void DeleteSelection();
    void SetSelectionStyle(const StyleInfoBase& style);
    void Undo();

    // Told the old and the new selection after each change.
    typedef void (*SelectionListener)(void* context, int32_t oldStart, int32_t oldEnd,
                                      int32_t newStart, int32_t newEnd);
    void AddSelectionListener(SelectionListener listener, void* context);

    // (sum of advances, largest ascent + largest descent).
    Pair MeasureRange(HDC dc, int32_t from, int32_t to) const;
    void DrawRange(HDC dc, const Pair& start, int32_t from, int32_t to) const;

    const TSMTextStore& Store() const { return store; }
    int32_t SelectionStart() const { return start; }
    int32_t SelectionEnd() const { return end; }
    int32_t SelectionBytes() const { return endByte - startByte; }
    const StyleInfoBase& TypingStyle() const { return *typing; }

private:
    bool Insert(const TSMTextStore& inserted);
    void SaveSelection();
    void Notify(int32_t oldStart, int32_t oldEnd);
    void UpdateTypingStyle();

    TSMTextStore store;
    TSMUndoBuffer current;
    TSMUndoBuffer spare;
    std::unique_ptr<StyleInfoBase> typing;
    std::vector<std::pair<SelectionListener, void*>> listeners;
    int32_t start = 0;
    int32_t end = 0;
    int32_t startByte = 0;
    int32_t endByte = 0;
};
