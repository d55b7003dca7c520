// What each use of an animation script needs of it: header counts that fit
// its steps, the frame labels the program runs, the events it waits for, and
// an end that every animation the program waits on can reach.
#include <set>
#include "record_sources.h"

namespace {

enum { kName, kVisuals, kChannels, kSync, kLayer, kFrame, kPlace, kPicture, kChannel, kPlay,
       kEvent, kJump, kJumpIdle, kTiming, kCustom, kBox };

struct UseRules {
    const char* use;
    std::vector<int> labels;  // labels the program runs
    bool segmentsHold;        // every labelled segment ends in a hold or a jump
    bool mustEnd;             // from label 1 the script reaches its end
    int eventInClick;         // an event the click (label 3) segment must post, 0 none
};

const UseRules kRules[] = {
    {"button", {1}, true, false, 0},
    {"radio", {1}, true, false, 0},
    {"tool", {1}, true, false, 0},
    {"size", {1, 5}, true, false, 0},
    {"stamp", {1, 5}, true, false, 0},
    {"quit", {1, 3, 5, 6}, true, false, 1},
    {"category", {1, 3, 6}, true, false, 1},
    {"animation", {1}, false, true, 0},
    {"loop", {1}, false, false, 0},
};

struct Frame {
    size_t first;  // index of its frame step
    size_t end;    // one past its last step
    int label;
    int delay;
};

std::string Where(const ScriptStep& step) { return "line " + std::to_string(step.place.line); }

std::vector<Frame> Frames(const RecordSource& s)
{
    std::vector<Frame> frames;
    for (size_t i = 0; i < s.steps.size(); ++i) {
        if (s.steps[i].opcode != kFrame) continue;
        if (!frames.empty()) frames.back().end = i;
        frames.push_back({i, s.steps.size(), s.steps[i].operand[0], s.steps[i].operand[1]});
    }
    return frames;
}

int FirstFrameWithLabel(const std::vector<Frame>& frames, int label)
{
    for (size_t f = 0; f < frames.size(); ++f)
        if (frames[f].label == label) return int(f);
    return -1;
}

bool FrameJumps(const RecordSource& s, const Frame& frame, int& target)
{
    for (size_t i = frame.first + 1; i < frame.end; ++i)
        if (s.steps[i].opcode == kJump) {
            target = s.steps[i].operand[0];
            return true;
        }
    return false;
}

void CheckSteps(const RecordSource& s)
{
    int visuals = -1, channels = -1;
    for (const ScriptStep& step : s.steps) {
        if (step.opcode == kVisuals && visuals < 0) visuals = step.operand[0];
        if (step.opcode == kChannels && channels < 0) channels = step.operand[0];
    }
    std::vector<Frame> frames = Frames(s);
    bool inFrame = false, visual = false, channel = false;
    for (const ScriptStep& step : s.steps) {
        switch (step.opcode) {
        case kFrame:
            inFrame = true;
            visual = channel = false;
            break;
        case kPlace:
            if (step.operand[0] < 0 || step.operand[0] >= std::max(visuals, 0))
                Refuse(step.place, "visual " + std::to_string(step.operand[0]) + " but the script has " +
                                       std::to_string(std::max(visuals, 0)) + " visual(s)");
            visual = true;
            break;
        case kPicture:
            if (!visual) Refuse(step.place, "a picture with no visual placed in this frame");
            break;
        case kChannel:
            if (step.operand[0] < 0 || step.operand[0] >= std::max(channels, 0))
                Refuse(step.place, "sound channel " + std::to_string(step.operand[0]) + " but the script has " +
                                       std::to_string(std::max(channels, 0)) + " channel(s)");
            channel = true;
            break;
        case kPlay:
            if (!channel) Refuse(step.place, "a sound with no channel chosen in this frame");
            break;
        case kJump:
            if (FirstFrameWithLabel(frames, step.operand[0]) < 0)
                Refuse(step.place, "a jump to label " + std::to_string(step.operand[0]) + ", which no frame has");
            break;
        case kJumpIdle:
            if (FirstFrameWithLabel(frames, step.operand[1]) < 0)
                Refuse(step.place, "a jump to label " + std::to_string(step.operand[1]) + ", which no frame has");
            if (step.operand[0] < 0 || step.operand[0] >= std::max(channels, 0))
                Refuse(step.place, "sound channel " + std::to_string(step.operand[0]) + " but the script has " +
                                       std::to_string(std::max(channels, 0)) + " channel(s)");
            break;
        default:
            break;
        }
        bool frameStep = step.opcode >= kPlace && step.opcode <= kCustom;
        if (frameStep && !inFrame)
            Refuse(step.place, "a step before the first frame never runs");
    }
    if (frames.empty()) Refuse(s.place, "a script without frames");
}

// From frame f of label `label`, the frames run until one holds, jumps or the
// script ends; true when that stays inside the label's own frames.
bool SegmentHolds(const RecordSource& s, const std::vector<Frame>& frames, size_t f, int label,
                  std::string& why)
{
    for (; f < frames.size(); ++f) {
        const Frame& frame = frames[f];
        if (frame.label != 0 && frame.label != label) {
            why = "runs on into label " + std::to_string(frame.label) + " at " + Where(s.steps[frame.first]);
            return false;
        }
        int target;
        if (frame.delay <= 0 || FrameJumps(s, frame, target)) return true;
    }
    why = "runs off the end of the script, which hides the widget";
    return false;
}

bool SegmentPosts(const RecordSource& s, const std::vector<Frame>& frames, size_t f, int event)
{
    int label = frames[f].label;
    for (; f < frames.size(); ++f) {
        const Frame& frame = frames[f];
        if (frame.label != 0 && frame.label != label) break;
        for (size_t i = frame.first; i < frame.end; ++i)
            if (s.steps[i].opcode == kEvent && s.steps[i].operand[0] == event) return true;
        int target;
        if (frame.delay <= 0 || FrameJumps(s, frame, target)) break;
    }
    return false;
}

void CheckEnds(const RecordSource& s, const std::vector<Frame>& frames)
{
    int f = FirstFrameWithLabel(frames, 1);
    std::set<int> seen;
    while (f >= 0 && size_t(f) < frames.size()) {
        if (!seen.insert(f).second) {
            Refuse(s.place, "cannot end: it loops from " + Where(s.steps[frames[f].first]) + " forever");
            return;
        }
        const Frame& frame = frames[f];
        if (frame.delay <= 0) {
            Refuse(s.place, "cannot end: the frame at " + Where(s.steps[frame.first]) +
                                " holds until woken");
            return;
        }
        int target;
        f = FrameJumps(s, frame, target) ? FirstFrameWithLabel(frames, target) : f + 1;
    }
}

}  // namespace

void RecordSet::CheckScripts() const
{
    for (const auto& record : records) {
        const RecordSource& s = *record;
        if (!s.isScript || s.use.empty()) continue;
        CheckSteps(s);
        const UseRules* rules = nullptr;
        for (const UseRules& r : kRules)
            if (s.use == r.use) rules = &r;
        if (!rules) {
            Refuse(s.place, "unknown use '" + s.use + "'");
            continue;
        }
        std::vector<Frame> frames = Frames(s);
        for (int label : rules->labels)
            if (FirstFrameWithLabel(frames, label) < 0)
                Refuse(s.place, "a script of use '" + s.use + "' needs a frame of label " + std::to_string(label));
        if (rules->segmentsHold) {
            std::set<int> done;
            for (size_t f = 0; f < frames.size(); ++f) {
                int label = frames[f].label;
                if (label == 0 || !done.insert(label).second) continue;
                std::string why;
                if (!SegmentHolds(s, frames, f, label, why))
                    Refuse(s.steps[frames[f].first].place, "label " + std::to_string(label) + " " + why);
            }
        }
        std::vector<int> events = s.events;
        if (rules->eventInClick) events.push_back(rules->eventInClick);
        for (int event : events) {
            int click = FirstFrameWithLabel(frames, 3);
            bool posted = click >= 0 ? SegmentPosts(s, frames, size_t(click), event) : false;
            if (!posted)
                Refuse(s.place, "event " + std::to_string(event) +
                                    " must be posted by the frames of label 3 (the click)");
        }
        if (rules->mustEnd) CheckEnds(s, frames);
    }
}
