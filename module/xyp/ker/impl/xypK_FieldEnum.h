#pragma once
// What a field of a data line holds.
enum xypK_FieldEnum { xypK_NOT_A_NUMBER = 0, xypK_NUMBER = 1, xypK_NO_VALUE = 2 };
