#include "settings/WindowLayout.h"

#include "settings/IniFile.h"

namespace tesk {

namespace {
constexpr const char* kMainForm = "MainForm";
constexpr const char* kChatForm = "ChatForm";

std::string toolbarSection(const std::string& toolbar) {
    return "Toolbar:" + toolbar;
}
}  // namespace

MainFormGeometry readMainFormGeometry(const IniFile& ini) {
    const MainFormGeometry defaults;
    return {ini.readInteger(kMainForm, "Width", defaults.width),
            ini.readInteger(kMainForm, "Height", defaults.height),
            ini.readInteger(kMainForm, "Left", defaults.left),
            ini.readInteger(kMainForm, "Top", defaults.top)};
}

void writeMainFormGeometry(IniFile& ini, const MainFormGeometry& geometry) {
    ini.writeInteger(kMainForm, "Width", geometry.width);
    ini.writeInteger(kMainForm, "Height", geometry.height);
    ini.writeInteger(kMainForm, "Left", geometry.left);
    ini.writeInteger(kMainForm, "Top", geometry.top);
}

ChatFormSize readChatFormSize(const IniFile& ini) {
    const ChatFormSize defaults;
    return {ini.readInteger(kChatForm, "Width", defaults.width),
            ini.readInteger(kChatForm, "Height", defaults.height)};
}

void writeChatFormSize(IniFile& ini, const ChatFormSize& size) {
    ini.writeInteger(kChatForm, "Width", size.width);
    ini.writeInteger(kChatForm, "Height", size.height);
}

std::optional<ToolbarLayout> readToolbarLayout(const IniFile& ini, const std::string& toolbar,
                                               bool currentlyVisible) {
    const std::string section = toolbarSection(toolbar);
    if (ini.readInteger(section, "Rev", 0) != ToolbarLayout::kRevision) {
        return std::nullopt;
    }
    ToolbarLayout layout;
    layout.visible = ini.readInteger(section, "Visible", currentlyVisible ? 1 : 0) != 0;
    layout.dockedTo = ini.readString(section, "DockedTo", "");
    layout.lastDock = ini.readString(section, "LastDock", "");
    layout.dockRow = ini.readInteger(section, "DockRow", 0);
    layout.dockPos = ini.readInteger(section, "DockPos", 0);
    layout.floatLeft = ini.readInteger(section, "FloatLeft", 0);
    layout.floatTop = ini.readInteger(section, "FloatTop", 0);
    return layout;
}

void writeToolbarLayout(IniFile& ini, const std::string& toolbar, const ToolbarLayout& layout) {
    const std::string section = toolbarSection(toolbar);
    ini.writeInteger(section, "Rev", ToolbarLayout::kRevision);
    ini.writeInteger(section, "Visible", layout.visible ? 1 : 0);
    ini.writeString(section, "DockedTo", layout.dockedTo);
    ini.writeString(section, "LastDock", layout.lastDock);
    ini.writeInteger(section, "DockRow", layout.dockRow);
    ini.writeInteger(section, "DockPos", layout.dockPos);
    ini.writeInteger(section, "FloatLeft", layout.floatLeft);
    ini.writeInteger(section, "FloatTop", layout.floatTop);
}

}  // namespace tesk
