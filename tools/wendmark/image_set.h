// One run of wendmark: the selected disks of a package description written
// as floppy images, disk after disk, through Wendmark's own checks and copy
// engine. Each disk is copied onto a floppy volume held in memory, which
// becomes OUTDIR/disk<N>.img once every file is on it.
#pragma once

#include <csignal>
#include <cstdio>

#include "tools/wendmark/console.h"
#include "tools/wendmark/image_drive.h"
#include "tools/wendmark/options.h"

namespace wendmark {

// What a run talks to; the program hands in the console's, tests their own.
struct RunServices {
  platform::console::ConsoleBoxes& boxes;  // the terminal's questions, or the stopping answers
  std::FILE* bar = nullptr;                // where the progress bar goes; null for none
  bool confirmStop = false;                // Ctrl-C asks before it stops
  std::FILE* report = stdout;              // "wrote OUTDIR/disk1.img"
  std::FILE* errors = stderr;              // refusals and why a disk was not written
  volatile std::sig_atomic_t* stopRequested = nullptr;  // set by Ctrl-C
};

// Writes the images `options` asks for; returns the exit status.
int WriteImageSet(const Options& options, RunServices& services);

}  // namespace wendmark
