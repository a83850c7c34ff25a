#pragma once
// The add-on's class as the system and the browser know it. The tests create
// it by this class, as the browser does.
#include <windows.h>

namespace krx_addon {

// {617D30F3-45EB-4A05-91D3-F50D72567345}
constexpr CLSID kHelperClassId = {0x617D30F3, 0x45EB, 0x4A05, {0x91, 0xD3, 0xF5, 0x0D, 0x72, 0x56, 0x73, 0x45}};
constexpr char kHelperClassIdText[] = "{617D30F3-45EB-4A05-91D3-F50D72567345}";
constexpr char kHelperClassName[] = "Kestrelix Browser Helper";

// The component category that tells the browser the class may load in an
// AppContainer tab (enhanced protected mode); listed under the class's
// "Implemented Categories".
constexpr char kAppContainerCategoryText[] = "{59FB2056-D625-48D0-A944-1A85B5AB2640}";

// Where the class lives (HKEY_LOCAL_MACHINE: the system's HKEY_CLASSES_ROOT
// reads from there on every Windows, and Wine sees no per-user classes).
constexpr char kClassKeyParent[] = "SOFTWARE\\Classes\\CLSID";
// The browser's list of helper objects, one sub-key per class.
constexpr char kHelperObjectsKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects";

}  // namespace krx_addon
