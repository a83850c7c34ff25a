#pragma once
// Where the add-on's day lines go: tmp\ of the program folder, or, when
// that refuses, Kestrelix\tmp\ in the user's low folder, which the manager
// merges too.
#include <string>

namespace krx_addon {

// Appends line to the day file name in tmpFolder, making the folder when it
// is missing; when tmpFolder cannot take it, in the low folder. A refusal
// of tmpFolder is remembered for a while (the process's windows share it),
// so a refusing folder costs no event more than one failed create now and
// then. False when neither folder took the line.
bool WriteDayLine(const std::string& tmpFolder, const std::string& name, const std::string& line);

}  // namespace krx_addon
