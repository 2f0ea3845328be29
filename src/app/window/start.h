// The program's start, from the process's first line to its event loop.
#pragma once

#include <functional>

namespace kavrin {

class frmGame;

// One copy per user: a later start hands its file to the running copy and ends. Then the .kvr
// type is registered and the game window shown with its icon; `beforeShow` sees the window just
// before it shows. Returns the program's exit status.
int Main(int argc, char** argv, const std::function<void(frmGame&)>& beforeShow = {});

} // namespace kavrin
