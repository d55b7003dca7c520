#pragma once
// A shown stage window with a scene, for the rich-edit control and the text
// box: real windows, messages pumped by the test's own thread.
#include <gtest/gtest.h>

#include <string>

#include "engine/scene.h"
#include "engine/stage_event.h"
#include "text/rich_edit_control.h"
#include "text/rich_text_proxy.h"
#include "window_fixture.h"

class PlainScene : public MMScene {
public:
    explicit PlainScene(MMStage* stage) : MMScene(stage) {}
    void Begin() override {}
};

struct RichEditStage : ::testing::Test {
    MMStageWindow* window = nullptr;
    MMStage* stage = nullptr;
    MMScene* scene = nullptr;

    void SetUp() override
    {
        ASSERT_TRUE(LoadRichEditLibrary());
        window = MakeStageWindow(Box{40, 40, 440, 340});
        window->Show(true);
        stage = new MMStage(window, Box{0, 0, 400, 300}, 32, nullptr, nullptr, nullptr, nullptr);
        scene = new PlainScene(stage);
    }
    void TearDown() override { delete window; }

    MMRichTextProxyMolecule* MakeBox(const Box& box = Box{50, 40, 250, 140})
    {
        return new MMRichTextProxyMolecule(scene, box, false);
    }
    static std::string Text(MMRichTextProxyMolecule* proxy)
    {
        char buffer[256];
        proxy->GetText(buffer, sizeof buffer);
        return buffer;
    }
    static void Type(MMRichTextProxyMolecule* proxy, const char* text)
    {
        for (const char* c = text; *c; ++c)
            proxy->HandleKey(MMStageEvent::KeyData(0, uint8_t(*c), 0));
    }
    static CHARFORMATA ReadFormat(MMRichTextProxyMolecule* proxy)
    {
        CHARFORMATA format = {};
        format.cbSize = sizeof format;
        SendMessageA(proxy->Control()->EditWindow(), EM_GETCHARFORMAT, TRUE,
                     reinterpret_cast<LPARAM>(&format));
        return format;
    }
};

