#pragma once
// Start-up and shut-down of the XY-plot module, and its entry in the type library.
#include "typ_ArchCompTable.h"

void xypK_initialize(int& count);
void xypK_finalize(int& count);
typ_ArchCompEntry xypK_ArchEntry();
// True between a completed start-up and the matching shut-down.
bool xypK_IsUp();
