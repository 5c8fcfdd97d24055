#pragma once

// Makes the icons compiled into the program's library available; call once
// before any window is made.
void InitDemlaResources();
