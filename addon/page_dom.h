#pragma once
// The page a browser window shows, as far as the add-on needs it: its flash
// objects, media players and GIF pictures, found and hidden through the scripting names
// every HTML document of the browser answers to (getElementsByTagName,
// length, item, getAttribute, style.visibility). Without a document (a
// window that shows a flash file or nothing yet) nothing is found.
#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <string>

#include "core/addon_page_elements.h"

namespace krx_addon {

// What a walk looks for; only the tags that can hold it are walked (the
// pictures, often thousands, only for the GIF hotkey).
enum PageKinds : unsigned { kFindFlash = 1, kFindMedia = 2, kFindGif = 4 };

// Calls visit for each flash object, media player and GIF picture of
// document that kinds asks for, with the full address of its file (resolved
// against pageUrl; "" when the page names none). At most a few thousand
// elements of each tag are looked at.
void ForEachMarkedElement(IDispatch* document, const std::string& pageUrl, unsigned kinds,
                          const std::function<void(IDispatch* element, krx::PageElementKind kind,
                                                   const std::string& file)>& visit);

// Hides the elements of document that kinds asks for (style.visibility
// "hidden") or gives them back the visibility the page gave them ("").
void SetHidden(IDispatch* document, const std::string& pageUrl, unsigned kinds, bool hidden);

}  // namespace krx_addon
