#pragma once

#include <optional>
#include <string>

namespace tesk {

class IniFile;

// "MainForm": the main window's outer frame in screen pixels.
struct MainFormGeometry {
    int width = 130;
    int height = 300;
    int left = 150;
    int top = 150;
};
MainFormGeometry readMainFormGeometry(const IniFile& ini);
void writeMainFormGeometry(IniFile& ini, const MainFormGeometry& geometry);

// "ChatForm": one outer size for every chat window; the one closed last sets it.
struct ChatFormSize {
    int width = 350;
    int height = 250;
};
ChatFormSize readChatFormSize(const IniFile& ini);
void writeChatFormSize(IniFile& ini, const ChatFormSize& size);

// One "Toolbar:" section per toolbar of the main window.
struct ToolbarLayout {
    static constexpr int kRevision = 2000;
    bool visible = true;
    std::string dockedTo;  // "TopDock", "BottomDock", "+" when floating, empty: stays put
    std::string lastDock;
    int dockRow = 0;
    int dockPos = 0;
    int floatLeft = 0;
    int floatTop = 0;
};
// Nothing when the section is missing or written by another layout revision; such a
// toolbar stays as designed. `currentlyVisible` is the default of "Visible".
std::optional<ToolbarLayout> readToolbarLayout(const IniFile& ini, const std::string& toolbar,
                                               bool currentlyVisible);
void writeToolbarLayout(IniFile& ini, const std::string& toolbar, const ToolbarLayout& layout);

}  // namespace tesk
