#pragma once
// Start-up and shut-down of the probe side of the module.
void prbK_initialize(int& count);
void prbK_finalize(int& count);
