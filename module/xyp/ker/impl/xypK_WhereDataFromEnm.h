#pragma once
// Where an XY data command reads its pairs from.
enum xypK_WhereDataFromEnm { xypK_FROM_KEYBOARD = 0, xypK_FROM_FILE = 1, xypK_FROM_HISTORY = 2 };
