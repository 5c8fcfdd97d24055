#pragma once

// Qt draws text only with an application object, and the headless commands,
// tests and benchmarks never need a display: this starts one on Qt's
// offscreen platform (unless QT_QPA_PLATFORM names another) the first time
// it is called, and lives until the program ends.
void EnsureHeadlessGui();
