#pragma once
// A brush that only records the dabs and strokes it is given.
#include <string>
#include <vector>

#include "brushes/brush_base.h"
#include "brushes/path_generator.h"

class RecordingBrush : public BrushBase {
public:
    ~RecordingBrush() override { delete generator; }
    void BeginStroke(const BrushDab* s) override
    {
        strokes.push_back("begin");
        samples.push_back(*s);
        if (generator)
            generator->Begin(s);
    }
    void ContinueStroke(const BrushDab* s) override
    {
        strokes.push_back("continue");
        samples.push_back(*s);
        if (generator)
            generator->Continue(s);
    }
    void EndStroke(const BrushDab* s) override
    {
        strokes.push_back("end");
        samples.push_back(*s);
        if (generator)
            generator->End(s);
    }
    void Dab(const BrushDab* dab) override { dabs.push_back(*dab); }
    void SetPathGenerator(PathGeneratorBase* g) override
    {
        delete generator;
        generator = g;
        if (g)
            g->SetBrush(this);
    }
    // Keeps the generator the test owns.
    void Use(PathGeneratorBase* g)
    {
        generator = g;
        g->SetBrush(this);
        borrowed = true;
    }
    void Release()
    {
        if (borrowed)
            generator = nullptr;
    }

    PathGeneratorBase* generator = nullptr;
    bool borrowed = false;
    std::vector<BrushDab> dabs;
    std::vector<BrushDab> samples;
    std::vector<std::string> strokes;
};
