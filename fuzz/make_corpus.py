#!/usr/bin/env python3
"""Writes the seed corpus of the XY text-file fuzz target into tests/data/fuzz_xyfile/.

Each seed is four control bytes (xField, yField, skipFrequency, name/labels; see the layout at
the top of xyfile_fuzzer.cpp) followed by the file's text. "0000" reads with the defaults.
"""
import os
import sys

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(TOP, "tests", "data", "fuzz_xyfile")

# control bytes: '0' = keyword not given; '1'..'6' = fields 1..6; '7' = 0; '8' = -1; '9' = 400;
# ':' = INT_MAX.  skipFrequency: '1' = 0, '2' = 1, '3' = 2, '5' = -1, '6' = -2, '7' = INT_MAX.
# byte 3: '0' name "a", '1' "Temp-1", '2' blank, '3' " Pressure history ", '4' with labels,
# '@' a comment filler line ending just before the reader's 1 MiB block ends, 0x80 a longer
# comment and 0xC0 a longer data line, both without a newline (see Filler in the harness).
DEFAULT = b"0000"

many = b" ".join(b"%d.%d" % (i, i % 7) for i in range(1, 41))

SEEDS = {
    "plain_two_columns": DEFAULT + b"0 0\n1 1.5\n2 4\n3 9.25\n4 16\n",
    "crlf": DEFAULT + b"0.0 1.0\r\n1.0 2.0\r\n2.0 3.0\r\n",
    "comma_separated": DEFAULT + b"0.5,1\n1.5,2\n2.5,3\n",
    "tab_separated": DEFAULT + b"1\t10\n2\t20\n3\t30\n",
    "mixed_separators": DEFAULT + b"1 ,\t 2\n, 3,,4\n\t5 6 \n",
    "comments": DEFAULT + b"** a comment\n1 2\n** another\n\n   \t\n3 4\n",
    "header_name": DEFAULT + b"*X Displacement\n0 0\n1 0.1\n2 0.3\n",
    "header_name_temp": b"0001" + b"* Load, extra\n0 1\n1 2\n",
    "header_comma_star": DEFAULT + b"***\n*  **,X,Force,\n1 2\n",
    "second_command": DEFAULT + b"*first\n1 2\n3 4\n*second\n5 6\n7 8\n",
    "command_only": DEFAULT + b"*lonely\n",
    "star_alone": DEFAULT + b"*\n1 2\n",
    "star_no_newline": DEFAULT + b"1 2\n*",
    "novalue": DEFAULT + b"1 NoValue\nNoValue 2\n3 4\nxNoValuey 5\n",
    "novalue_only": DEFAULT + b"NoValue NoValue\n",
    "many_columns": b"5600" + b"*" + b" ".join(b"c%d" % i for i in range(1, 41)) + b"\n"
                    + many + b"\n" + many + b"\n",
    "many_columns_wide": b"9:00" + many + b"\n",
    "columns_3_5": b"3500" + b"*t a b c d e\n1 2 3 4 5 6\n7 8 9 10 11 12\n",
    "exponents": DEFAULT + b"1e39 -1e39\n1e-50 1E+3\n2.5e-3 -4.E2\n+1 +.5\n",
    "bad_dot_exp": DEFAULT + b".e5 1\n",
    "bad_minus_exp": DEFAULT + b"-e5 1\n",
    "bad_inner_sign": DEFAULT + b"1-2 3\n",
    "bad_double_plus": DEFAULT + b"1 ++2\n",
    "edge_numbers": DEFAULT + b"3.4028235e38 3.4028236e38\n1.4e-45 -0\n0.000000000000000000001 5.\n",
    "nul_bytes": DEFAULT + b"1 2\n3\x004\n\x00\n5 6\n",
    "nul_in_header": DEFAULT + b"*na\x00me\n1 2\n",
    "empty": DEFAULT,
    "no_final_newline": DEFAULT + b"1 2\n3 4",
    "cr_at_end": DEFAULT + b"1 2\r",
    "skip_every_other": b"0020" + b"1 1\n2 2\n3 3\n4 4\n5 5\n",
    "skip_huge": b"0070" + b"** c\n1 1\n2 2\n",
    "skip_negative": b"0060" + b"1 1\n2 2\n",
    "fields_swapped": b"2100" + b"1 2\n3 4\n",
    "field_zero": b"7000" + b"1 2\n",
    "field_missing": b"0300" + b"1 2\n",
    "blank_name": b"0002" + b"1 2\n",
    "labels": b"0004" + b"*X Y\n1 2\n",
    "blank_lines_only": DEFAULT + b"\n\n \t \n",
    "block_end_crlf": b"000@" + b"1 2\r\n" * 40,
    "block_end_mixed": b"\x70\x500@" + b"** c\n12345.5,-6e3\n*hdr name\n7\t8\n" * 4,
    "block_end_skip": b"132@" + b"1 2 3\n4 NoValue 6\n" * 8,
    "long_comment_line": b"000\x80" + b"\n1 2\n3 4\n",
    "long_data_line": b"000\xc0" + b" 9\n3 4\n5 6",
    # over 4096 lines: the reader's periodic work (interrupt check, reserving the pair array)
    "many_lines": DEFAULT + b"1 2\n" * 4200,
    "long_line": b"0400" + b"1 2 3 " + b" ".join(b"9" for _ in range(3000)) + b"\n",
}


def main():
    os.makedirs(OUT, exist_ok=True)
    for name in os.listdir(OUT):
        os.remove(os.path.join(OUT, name))
    total = 0
    for name, data in sorted(SEEDS.items()):
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)
        total += len(data)
    print(f"{len(SEEDS)} seeds, {total} bytes in {OUT}", file=sys.stderr)


if __name__ == "__main__":
    main()
