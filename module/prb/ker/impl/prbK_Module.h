#pragma once
// Start-up and shut-down of the probe side of the module. They nest: the first prbK_initialize
// adds one to `count` and brings the probe side up, later ones only count; the prbK_finalize
// that matches the first takes it down again and takes one from `count`.
void prbK_initialize(int& count);
void prbK_finalize(int& count);
