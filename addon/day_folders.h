#pragma once
// Where the add-on's day lines go: tmp\ of the program folder, or, when
// that refuses, Kestrelix\tmp\ in the user's low folder, which the manager
// merges too.
#include <cstddef>
#include <string>

namespace krx_addon {

// Appends line to the day file name in tmpFolder, making the folder when it
// is missing; when tmpFolder cannot take it, in the low folder. A refusal
// of tmpFolder is remembered for a while (the process's windows share it),
// so a refusing folder costs no event more than one failed create now and
// then. A line whose file another writer keeps locked past a short wait is
// kept, in order, and written before the process's next line, or at the
// latest by WriteKeptDayLines; a line that neither folder takes is lost.
void WriteDayLine(const std::string& tmpFolder, const std::string& name, const std::string& line);

// Writes the lines kept for a busy file, waiting longer for the lock and
// then writing out of turn: when a browser window goes.
void WriteKeptDayLines();

// How many lines wait for a busy file.
size_t KeptDayLines();

}  // namespace krx_addon
