"""Random statements against xyp's Python surface, as source text.

The generator runs in the child process that executes the statements: it sees whether each
one succeeded (and what kind of object a variable holds) before it writes the next. It never
calls into xyp itself, so the statements it wrote are the whole story and replay as they
are. Command names come from the objects (the discovery run's dir() of each kind and the
modules' callables); keyword names and value domains come from the README's tables, and
options keywords from the options objects' own members and the kinds of their values.
"""
import math
from collections import namedtuple

Step = namedtuple("Step", "src tag var kind command")

TEXTS = (
    "sourceDescription",
    "contentDescription",
    "positionDescription",
    "xValuesLabel",
    "yValuesLabel",
    "legendLabel",
)

# Enumerations and their permissible names.
ENUMS = {
    "Scale": ("LINEAR", "LOG"),
    "TickType": ("AUTOCOMPUTE", "INCREMENT", "TOTAL_NUMBER"),
    "Format": ("AUTOMATIC", "DECIMAL", "POWER", "ENGINEERING", "SCIENTIFIC"),
    "ColumnLayout": ("SINGLE_TABLE", "SEPARATE_TABLES"),
    "PageWidth": ("NO_LIMIT", "SPECIFY"),
    "TitleStyle": ("USER_DEFINED", "SYSTEM_DEFINED"),
    "LineStyle": ("SOLID", "DASHED", "DOTTED", "DOT_DASH"),
    "LineThickness": ("VERY_THIN", "THIN", "MEDIUM", "THICK"),
    "Marker": (
        "FILLED_CIRCLE",
        "FILLED_SQUARE",
        "FILLED_DIAMOND",
        "FILLED_TRI",
        "HOLLOW_CIRCLE",
        "HOLLOW_SQUARE",
        "HOLLOW_DIAMOND",
        "HOLLOW_TRI",
        "CROSS",
        "XMARKER",
        "POINT",
        "STAR",
        "PLUS",
        "DEFAULT_MARKER",
    ),
    "MarkerSize": ("SMALL", "MEDIUM_SIZE", "LARGE"),
    "BackgroundStyle": ("MATCH", "OTHER", "TRANSPARENT"),
}


def enum_group(constant_name):
    for group, names in ENUMS.items():
        if constant_name in names:
            return group
    return None


# Keywords of the commands (README), by the receiver's kind and the command's name.
_XYDATA_KW = dict({"name": "name", "data": "pairs", "objectToCopy": "xy", "xyData": "xy"},
                  **{t: "text" for t in TEXTS})
_FILE_KW = dict({"name": "name", "fileName": "readpath", "xField": "field", "yField": "field",
                 "skipFrequency": "count"}, **{t: "text" for t in TEXTS})
COMMANDS = {
    ("session", "XYData"): (_XYDATA_KW, ("name", "data")),
    ("xyPlot", "XYData"): (_XYDATA_KW, ("name", "data")),
    ("session", "XYDataFromFile"): (_FILE_KW, ("name", "fileName")),
    ("xyPlot", "XYDataFromFile"): (_FILE_KW, ("name", "fileName")),
    ("session", "XYPlot"): ({"name": "name"}, ("name",)),
    ("session", "writeXYReport"): (
        {"fileName": "writepath", "xyData": "reportitems", "appendMode": "bool"},
        ("fileName", "xyData"),
    ),
    ("xy", "setValues"): ({t: "text" for t in TEXTS}, ()),
    ("xy", "setData"): ({"data": "pairs"}, ("data",)),
    ("plot", "Curve"): ({"name": "name", "xyData": "xyop"}, ("name", "xyData")),
    ("plot", "curveSet"): ({"xyData": "xyseq"}, ("xyData",)),
    ("plot", "setValues"): (
        {
            "curvesToPlot": "curvenames",
            "xAxisTitle": "text",
            "yAxisTitle": "text",
            "xAxisTitleSource": "enum:TitleStyle",
            "yAxisTitleSource": "enum:TitleStyle",
        },
        (),
    ),
    ("viewport", "setValues"): (
        {"displayedObject": "plotornone", "width": "pixels", "height": "pixels"},
        (),
    ),
    ("annotations", "setValues"): (
        {"legend": "bool", "legendBox": "bool", "legendDecimalPlaces": "int",
         "legendPosition": "position", "legendFont": "font", "legendTextColor": "color",
         "legendBackgroundStyle": "enum:BackgroundStyle", "legendBackgroundColor": "color",
         "legendExtremes": "bool"},
        (),
    ),
    ("viewport", "saveImage"): (
        {"fileName": "imagepath", "width": "pixels", "height": "pixels"},
        ("fileName",),
    ),
}
for _d in ("repo", "plots", "curves", "viewports"):
    COMMANDS[(_d, "changeKey")] = ({"fromName": "key", "toName": "name"}, ("fromName", "toName"))
    COMMANDS[(_d, "summary")] = ({}, ())

ALTERNATIVES = ("objectToCopy", "objectToCopy", "objectToCopy", "xyData")

# Math functions (README) by how they take their operands.
UNARY = ("cos sin tan acos asin atan cosh sinh tanh log log10 exp sqrt degreeToRadian "
         "radianToDegree currentMax currentMin currentRng currentAvg").split()
SEVERAL = "maxEnvelope minEnvelope rng avg sum srss".split()
ONE = "normalize differentiate integrate swap".split()
MATH_OPTIONS = {
    "smooth": {"window": "window"},
    "saeFilter": {"cfc": "float"},
    "sbFilter": {"cutoffFrequency": "float", "order": "order"},
    "pow": {"exponent": "float"},
    "power": {"exponent": "float"},
}

NAMES = ("a", "b", "c", "stress", "tip", "Temp", "Temp-1", " padded ")
ODD_NAMES = (
    "''", "' '", "'x' * 300", "'x' * 100000", "'naïve'", "'日本語'", "'a\\x00b'", "'\\udcb5ad'",
    "'\\ud800'", "\"quote'd\"", "'new\\nline'", "'tab\\tname'", "'🙂'", "'*'", "'NoValue'",
)
COLORS = ("'Red'", "'red'", "'dark olive green'", "'gray50'", "'#FF8800'", "'#ff8800'",
          "'Default'", "'DarkOrange'", "'Blue'", "'white'")
ODD_COLORS = ("'#fff'", "'#GGGGGG'", "'NoSuchColour'", "'#FF880'", "'#FF88001'", "''",
              "'gray101'", "'Red\\x00'", "'\\udcb5'", "'#'")
FONTS = ("'-*-verdana-medium-r-normal-*-*-120-*-*-p-*-*-*'", "'-*-courier-bold-r-normal-*-*-80-*'",
         "'Helvetica'", "''", "'-*-*-*-*-*-*-*-99999-*-*-*-*-*-*'", "'x' * 5000", "'-' * 200")

HOSTILE = (
    "nan", "inf", "-inf", "-0.0", "10**400", "-10**400", "2**63", "-2**63-1", "2**64", "2**31",
    "-1", "0", "True", "False", "None", "''", "'x' * 100000", "'a\\x00b'", "'\\ud800'",
    "'\\udcb5'", "'🙂'", "b'bytes'", "bytearray(b'12')", "1j", "object()", "[]", "()", "{}",
    "{1, 2}", "range(3)", "sys", "print", "(lambda: 0)", "...", "type", "selfref_list()",
    "selfref_dict()", "selfref_pair()", "deep(40000)", "deep(3000, list)", "deep(1000, dict)",
    "RaisingNumber()", "LyingNumber()", "LyingNumber(2**63)", "LyingSequence('lenraise')",
    "LyingSequence('iterraise')", "clearing_pairs()", "clearing_dict()",
    "MutatingList([(1.0, 2.0), (2.0, 3.0)])", "memoryview(b'abcd')", "[[1, 2], [3]]",
    "((1, 2), 'x')", "[None, None]", "(x for x in range(3))", "xyp.LOG", "xyp.SOLID",
    "session", "xyPlot", "1e39", "1e-50", "5e-324", "1.7976931348623157e308",
)
NP_HOSTILE = (
    "np.float32('nan')", "np.float64(inf)", "np.int64(2**63 - 1)", "np.uint64(2**64 - 1)",
    "np.bool_(True)", "np.array(1.5)", "np.zeros((0, 2))", "np.zeros((3, 0))", "np.int8(-1)",
    "np.float16(65504)", "np.array(['a', 'b'])", "np.empty(0)",
)


# Objects every case can reach without a variable, by kind.
FIXED = {
    "session": "session",
    "repo": "session.xyDataObjects",
    "plots": "session.xyPlots",
    "viewports": "session.viewports",
    "viewport": "vp",
    "reportopts": "session.xyReportOptions",
    "plotopts": "session.defaultXYPlotOptions",
}


def num(x):
    """Source text of a float, with the helpers' names for the special values."""
    if isinstance(x, float):
        if math.isnan(x):
            return "nan"
        if math.isinf(x):
            return "inf" if x > 0 else "-inf"
        if x == 0.0 and math.copysign(1.0, x) < 0:
            return "-0.0"
    return repr(x)


class Generator:
    def __init__(self, rng, discovery, ns, steps):
        self.rng = rng
        self.disc = discovery
        self.ns = ns
        self.steps = steps
        self.numpy = ns.get("np") is not None
        self.count = 0
        self.next_var = 0
        self.vars = {}  # kind -> [variable names]
        self.stored = set()  # variables of XY data kept in the repository
        self.names = list(NAMES[:3])  # names likely to be in the repository
        self.curve_names = []
        self.files = []  # data files written into the scratch folder
        self.links = set()
        self.queue = []  # statements of a flow that must follow in order
        self.down = False  # xyp.shutdown() has run
        self.hooks = False  # a hook that changes the session may run inside commands
        self.warnings_error = False
        self.constants = set(discovery["constants"])
        self.math = discovery["math"]
        self.options_members = discovery["options"]
        self.members = discovery["members"]

    # -- helpers -------------------------------------------------------------------------
    def chance(self, p):
        return self.rng.random() < p

    def pick(self, seq):
        return seq[self.rng.randrange(len(seq))]

    def weighted(self, table):
        total = sum(w for w, _ in table)
        r = self.rng.random() * total
        for w, item in table:
            r -= w
            if r < 0:
                return item
        return table[-1][1]

    def new_var(self):
        self.next_var += 1
        return "v%d" % self.next_var

    def var(self, kind):
        pool = self.vars.get(kind)
        return self.pick(pool) if pool else None

    def learn(self, step, ok):
        """Called after each statement ran: records the variable it made, if any."""
        if not ok or not step.var:
            return
        value = self.ns.get(step.var)
        kind = step.kind
        if kind == "xy?":
            kind = "xy" if type(value).__name__ == "ScriptObject" else "num"
        if kind == "array" and not hasattr(value, "dtype"):
            kind = "num"
        self.vars.setdefault(kind, []).append(step.var)
        if step.tag.startswith("session.XYData"):
            self.stored.add(step.var)

    def forget(self, var):
        for pool in self.vars.values():
            if var in pool:
                pool.remove(var)

    def constant(self, name):
        return "xyp." + name if name in self.constants else repr(name)

    # -- values --------------------------------------------------------------------------
    def hostile(self):
        r = self.rng.random()
        if r < 0.12 and self.numpy:
            return self.pick(NP_HOSTILE)
        if r < 0.22:
            handle = self.any_handle()
            if handle:
                return handle
        return self.pick(HOSTILE)

    def any_handle(self):
        kinds = [k for k, pool in self.vars.items() if pool]
        if not kinds:
            return None
        return self.var(self.pick(kinds))

    def value(self, domain, hostile=0.12):
        if self.chance(hostile):
            return self.hostile()
        if domain.startswith("enum:"):
            group = domain[5:]
            if self.chance(0.9):
                return self.constant(self.pick(ENUMS[group]))
            other = self.pick(list(ENUMS))
            return self.constant(self.pick(ENUMS[other]))
        fn = getattr(self, "v_" + domain, None)
        return fn() if fn else self.hostile()

    def v_name(self):
        if self.chance(0.85):
            return repr(self.pick(self.names + list(NAMES)))
        return self.pick(ODD_NAMES)

    def v_key(self):
        keys = self.ns.get("_keys")
        if keys and isinstance(keys, list) and self.chance(0.5):
            return repr(self.pick(keys))
        if self.chance(0.15):
            return self.pick(ODD_NAMES + ("1", "None", "b'a'"))
        return repr(self.pick(self.names + list(NAMES)))

    def v_text(self):
        r = self.rng.random()
        if r < 0.5:
            return self.pick(("'Time'", "'S11'", "'t [s]'", "'N/mm²'", "''", "'Stress'"))
        if r < 0.8:
            return self.pick(ODD_NAMES)
        return repr("".join(self.pick("ab ,*\t\\µ€%{}") for _ in range(self.rng.randrange(40))))

    def v_bool(self):
        return self.pick(("True", "False"))

    def v_int(self):
        return self.pick(("0", "1", "2", "3", "4", "5", "8", "10", "20", "50", "99", "100", "101",
                          "-1", "1000"))

    def v_count(self):
        return self.pick(("0", "0", "1", "2", "5", "-1", "1000", "2**31", "10**400"))

    def v_field(self):
        return self.pick(("1", "2", "2", "3", "4", "0", "-1", "100", "2**31", "2**63"))

    def v_window(self):
        return self.pick(("1", "3", "5", "7", "2", "0", "-1", "9999", "2**31", "101"))

    def v_order(self):
        return self.pick(("1", "2", "4", "8", "0", "9", "-1", "2**40"))

    def v_float(self):
        r = self.rng.random()
        if r < 0.6:
            return num(round(self.rng.uniform(-10, 10), self.rng.randrange(4)))
        return self.pick(("0.0", "1.0", "0.5", "2.0", "1e-3", "1e3", "60.0", "1000.0", "1e-30",
                          "1e30", "1e39", "-1e39", "-0.0", "nan", "inf", "3", "10**400",
                          "1e-45", "0.1"))

    def v_color(self):
        return self.pick(COLORS) if self.chance(0.8) else self.pick(ODD_COLORS)

    def v_font(self):
        return self.pick(FONTS)

    def v_position(self):
        if self.chance(0.3):
            return self.constant("AUTOMATIC")
        return self.pick(("(2, 98)", "(98, 98)", "(50, 50)", "(0, 0)", "(100, 100)", "(101, 5)",
                          "(-1, 5)", "(nan, 5)", "(5,)", "(1, 2, 3)", "'AUTOMATIC'", "None"))

    def v_pixels(self):
        if self.chance(0.8):
            return self.pick(("1", "2", "3", "17", "64", "100", "120", "200", "320", "480"))
        return self.pick(("0", "-1", "16385", "2**31", "2**63", "10**400", "nan", "1.5", "True",
                          "'100'", "None", "1e9"))

    def v_xy(self):
        v = self.var("xy")
        if v and self.chance(0.8):
            return v
        if self.chance(0.5):
            return "session.xyDataObjects[%s]" % self.v_key()
        return self.temp_xy()

    def v_xyop(self):
        r = self.rng.random()
        if r < 0.45:
            v = self.var("xy")
            if v:
                return v
        if r < 0.52:
            v = self.var("curve")
            if v:
                return v
        if r < 0.85:
            return self.temp_xy()
        if r < 0.92:
            return self.v_float()
        return self.hostile()

    def temp_xy(self):
        return "xyPlot.XYData(name=%s, data=%s)" % (repr(self.pick(("t", "u", "w"))),
                                                   self.pairs(math_operand=True))

    def v_xyseq(self):
        items = [self.v_xyop() for _ in range(self.rng.randrange(0, 4))]
        return self.seq(items)

    def v_plot(self):
        return self.var("plot") or "session.xyPlots[%s]" % self.v_name()

    def v_plotornone(self):
        r = self.rng.random()
        if r < 0.7:
            v = self.var("plot")
            if v:
                return v
        if r < 0.85:
            return "None"
        return self.any_handle() or "None"

    def v_curvenames(self):
        items = []
        for _ in range(self.rng.randrange(0, 4)):
            r = self.rng.random()
            if r < 0.5 and self.curve_names:
                items.append(repr(self.pick(self.curve_names)))
            elif r < 0.75 and self.vars.get("curve"):
                items.append(self.var("curve"))
            else:
                items.append(self.v_name())
        if len(items) == 1 and self.chance(0.5):
            return items[0]
        return self.seq(items)

    def v_reportitems(self):
        items = []
        for _ in range(self.rng.randrange(0, 5)):
            r = self.rng.random()
            if r < 0.4 and self.vars.get("xy"):
                items.append(self.var("xy"))
            elif r < 0.55 and self.vars.get("curve"):
                items.append(self.var("curve"))
            elif r < 0.85:
                items.append(self.v_key())
            else:
                items.append(self.hostile())
        if len(items) == 1 and self.chance(0.3):
            return items[0]
        return self.seq(items)

    def v_plotopts(self):
        return self.options_expr("plotopts")

    def v_curveopts(self):
        return self.options_expr("curveopts")

    def v_reportopts(self):
        return self.options_expr("reportopts")

    def seq(self, items):
        r = self.rng.random()
        if r < 0.55:
            return "(" + ", ".join(items) + ("," if len(items) == 1 else "") + ")"
        if r < 0.9:
            return "[" + ", ".join(items) + "]"
        return "iter([" + ", ".join(items) + "])"

    # -- pairs ---------------------------------------------------------------------------
    def xs(self, n, mode):
        rng = self.rng
        if mode == "even":
            step = self.pick((1.0, 0.001, 1e-4, 0.5))
            return [i * step for i in range(n)]
        if mode == "uneven":
            x, out = 0.0, []
            for _ in range(n):
                out.append(round(x, 3))
                x += rng.uniform(0.01, 3)
            return out
        if mode == "dec":
            return [float(n - i) for i in range(n)]
        if mode == "repeat":
            return [float(i // 2) for i in range(n)]
        if mode == "unsorted":
            return [float(rng.randrange(10)) for _ in range(n)]
        out = [float(i) for i in range(n)]
        if n and mode in ("nan", "inf", "neg0", "huge"):
            at = rng.randrange(n)
            out[at] = {"nan": float("nan"), "inf": self.pick((float("inf"), float("-inf"))),
                       "neg0": -0.0, "huge": 1e39}[mode]
        return out

    def ys(self, n, mode):
        rng = self.rng
        if mode == "zero":
            return [0.0] * n
        if mode == "neg":
            return [-1.0 - i for i in range(n)]
        if mode == "pos":
            return [1.0 + i for i in range(n)]
        out = [round(rng.uniform(-100, 100), 2) for _ in range(n)]
        if n and mode in ("nan", "inf", "huge", "tiny"):
            at = rng.randrange(n)
            out[at] = {"nan": float("nan"), "inf": float("inf"), "huge": 3.5e38,
                       "tiny": 1e-45}[mode]
        return out

    def literal_pairs(self, n, xmode, ymode):
        xs, ys = self.xs(n, xmode), self.ys(n, ymode)
        pairs = ["(%s, %s)" % (num(x), num(y)) for x, y in zip(xs, ys)]
        if pairs and self.chance(0.1):
            # One value given as an int beyond the double range, or a numpy scalar.
            at = self.rng.randrange(len(pairs))
            odd = self.pick(("10**400", "-10**400", "2**63", "True", "'1'", "None", "1j",
                             "RaisingNumber()", "LyingNumber()") +
                            (("np.float32(1.5)", "np.int64(7)", "np.float64(nan)")
                             if self.numpy else ()))
            pairs[at] = "(%s, %s)" % (num(xs[at]), odd) if self.chance(0.5) else \
                "(%s, %s)" % (odd, num(ys[at]))
        if self.chance(0.2):
            pairs = ["[" + p[1:-1] + "]" for p in pairs]
        return self.seq(pairs) if not pairs or self.chance(0.9) else "[" + ", ".join(pairs) + "]"

    def pairs(self, math_operand=False):
        r = self.rng.random()
        xmode = self.weighted([(5, "inc"), (3, "even"), (2, "uneven"), (2 if math_operand else 1,
                               "nan"), (1, "inf"), (1, "dec"), (1, "repeat"), (1, "unsorted"),
                               (1, "neg0"), (1, "huge")])
        ymode = self.weighted([(6, "rand"), (1, "zero"), (1, "neg"), (2, "pos"), (1, "nan"),
                               (1, "inf"), (1, "huge"), (1, "tiny")])
        if r < 0.55:
            n = self.weighted([(3, 1), (3, 2), (3, 3), (2, 5), (2, 8), (1, 0), (1, 16)])
            return self.literal_pairs(n, xmode, ymode)
        if r < 0.75:
            n = self.pick((1, 2, 4, 10, 100, 1000, 10000))
            f = self.pick(("sin", "lin", "pos", "neg", "zero", "nan", "nanx", "huge", "tiny"))
            dx = self.pick(("", "", ", dx=1e-4", ", dx=0.001", ", dx=0.0", ", dx=-1.0",
                            ", dx=1e-40", ", dx=nan"))
            return "ramp(%d, %r%s)" % (n, f, dx)
        if r < 0.87 and self.numpy:
            dtype = self.pick(("f8", "f8", "f4", "f2", "i8", "i4", "i2", "u1", "u8", "b1", "c16",
                               "O", ">f8", ">f4", "<i4", "U4", "M8[s]"))
            n = self.pick((0, 1, 2, 5, 50))
            layout = self.pick(("C", "C", "F", "every2", "rev", "colrev", "T", "wide", "flat",
                                "3d", "0d", "bcast", "sub", "readonly"))
            f = self.pick(("sin", "nanx", "nan", "pos", "huge"))
            return "odd_array(%r, %d, %r, %r)" % (dtype, n, layout, f)
        return self.pick((
            "()", "[]", "((1.0,),)", "((1.0, 2.0, 3.0),)", "(('a', 'b'),)", "((True, False),)",
            "[[0, 1], (1, 2)]", "{0: 1}", "range(4)", "((0, 1) for _ in range(3))",
            "clearing_pairs()", "clearing_pairs(8, 2)", "LyingSequence('long')",
            "LyingSequence('short')", "LyingSequence('huge')", "LyingSequence('getraise')",
            "LyingSequence('iterraise')", "LyingSequence('iterlie')",
            "LyingSequence('itermidraise')", "MutatingList(ramp(4), 'clear')",
            "MutatingList(ramp(4), 'grow')", "MutatingList(ramp(4), 'shrink')",
            "[MutatingList(ramp(2), 'clear')]", "selfref_list()", "selfref_pair()",
            "selfref_dict()", "deep(40000)", "deep(40000, list)", "deep(200)", "deep(3)",
            "[deep(2)] * 3", "((0, 1), selfref_list())", "'0 1 2 3'", "b'\\x00' * 16",
            "memoryview(b'\\x00' * 16)", "((0, 1),) * 100000",
        ) + (("memoryview(odd_array('f8', 4))", "odd_array('f8', 4).tolist()",
              "[odd_array('f4', 1)[0]] * 3", "np.zeros((2, 2))[:, :1]") if self.numpy else ()))

    # -- files ---------------------------------------------------------------------------
    def number_field(self):
        r = self.rng.random()
        if r < 0.75:
            return self.pick(("0", "1", "2.5", "-3", "1e3", "0.001", "12", "7.25", "100"))
        return self.pick(("1e39", "1e-50", "+1.5", "-0", "nan", "inf", "NoValue", "0x1A",
                          "1,5", "abc", "1.5.5", "1e400", "--1", "+", "", "\u0661\u0662",
                          ".5", "5.", "1e", "NaN", "-inf", "9" * 400))

    def file_bytes(self):
        """Source text of the bytes of a small text file of columns."""
        rng = self.rng
        big = rng.random()
        if big < 0.04:
            return self.pick(("b'0 1\\n' * 200000", "b'1 ' * 200000", "b'\\x00' * 300000",
                              "b'1 2' + b' ' * 500000 + b'\\n3 4\\n'", "b'** c\\n' * 100000",
                              "b'1 2\\r\\n' * 50000"))
        lines = []
        header = self.weighted([(5, None), (2, "* stress\n"), (1, "* X stress\n"),
                                (1, b"* Spannung_\xb5m\n"), (1, b"* \xff\xfe\n"), (1, "*\n"),
                                (1, "* " + "h" * 300 + "\n"), (1, "* a b c d\n"),
                                (1, "* Temp-1\n"), (1, b"* caf\xc3\xa9\n")])
        if header:
            lines.append(header if isinstance(header, bytes) else header.encode())
        cols = self.weighted([(6, 2), (2, 3), (1, 1), (1, 4)])
        sep = self.pick((" ", "\t", ",", ", ", "  ", " ,\t"))
        end = self.pick(("\n", "\n", "\r\n", "\r"))
        for i in range(self.weighted([(1, 0), (3, 3), (3, 8), (1, 30)])):
            r = rng.random()
            if r < 0.05:
                lines.append(b"** comment\n")
            elif r < 0.08:
                lines.append(b"   \n")
            elif r < 0.1:
                lines.append(b"* second header\n")
            elif r < 0.12:
                lines.append(b"1\x002 3\n")
            else:
                fields = [self.number_field() for _ in range(cols)]
                if rng.random() < 0.1 and fields:
                    fields.pop()
                lines.append((sep.join(fields) + end).encode())
        data = b"".join(lines)
        if data and self.chance(0.15):
            data = data.rstrip(b"\r\n")
        return repr(data)

    def file_name(self):
        return self.pick(("f1.txt", "f2.csv", "data file.txt", "ünï.txt", "x" * 200 + ".txt",
                          "f3.dat"))

    def v_readpath(self):
        if self.files and self.chance(0.65):
            return repr(self.pick(self.files))
        first = self.files[0] if self.files else "f1.txt"
        return self.pick((
            "'missing.txt'", "'sub'", repr(first + "/x"), repr(first + "\0junk"),
            repr("~/" + first), "''", "' '", "'lnk1.txt'", "'dangling.txt'", "'x' * 300",
            "'\\udcb5.txt'", "'.'", repr("./" + first), repr("sub/../" + first),
        ))

    def v_writepath(self):
        return self.pick((
            "'r.txt'", "'r.txt'", "'r2.csv'", "'sub/r.txt'", "'nodir/r.txt'", "'r.txt\\x00x'",
            "'~/r.txt'", "'f1.txt'", "'sub'", "'lnkr.txt'", "'x' * 255", "'x' * 256", "''",
            "'r.txt/'", "'fifo1'" if self.chance(0.1) else "'r3.txt'", "'ünï.txt'",
            "'\\udcb5.txt'",
        ))

    def v_imagepath(self):
        return self.pick((
            "'out.png'", "'out.png'", "'out.svg'", "'out.pdf'", "'OUT.PNG'", "'a.Svg'",
            "'sub/out.png'", "'nodir/out.png'", "'out.bmp'", "'out'", "'.png'",
            "'notes.txt\\x00.png'", "'~/out.png'", "'x' * 251 + '.png'", "'x' * 236 + '.png'",
            "'x' * 300 + '.png'", "'lnk.png'", "'lnkfifo.png'" if self.chance(0.1) else "'o.pdf'",
            "'d.png'", "'f1.txt'", "'ünï.png'", "'\\udcb5.png'", "'out.png/'", "'sub/../o.svg'",
        ))

    # -- statements ----------------------------------------------------------------------
    def step(self, src, tag, var=None, kind=None, command=True):
        return Step(src, tag, var, kind, command)

    def assign(self, expr, tag, kind, command=True):
        var = self.new_var()
        return self.step("%s = %s" % (var, expr), tag, var, kind, command)

    def call(self, receiver, method, table_key, extra=None):
        """A call with keywords from the table (required ones mostly given), in any order."""
        table, required = COMMANDS.get(table_key, ({}, ()))
        table = dict(table)
        if extra:
            table.update(extra)
        kws = []
        for kw, domain in table.items():
            if kw in required:
                if self.chance(0.97):
                    kws.append((kw, domain))
            elif kw in ALTERNATIVES:
                continue
            elif self.chance(0.25):
                kws.append((kw, domain))
        if table_key[1] == "XYData" and self.chance(0.15):
            # A copy instead of pairs (now and then both, or the old keyword).
            kws = [(k, d) for k, d in kws if k != "data" or self.chance(0.1)]
            kws.append((self.pick(ALTERNATIVES) if self.chance(0.8) else "objectToCopy", "xy"))
        if not kws and table and self.chance(0.7):
            kws.append(self.pick(list(table.items())))
        self.rng.shuffle(kws)
        # Most calls are clean, to reach the code behind the keyword check; the others
        # carry one hostile value.
        bad = self.rng.randrange(len(kws)) if kws and self.chance(0.3) else -1
        args = ["%s=%s" % (kw, self.hostile() if i == bad else self.value(domain, hostile=0))
                for i, (kw, domain) in enumerate(kws)]
        if self.chance(0.04):
            args.append("%s=%s" % (self.pick(("zzz", "Name", "xyData", "data", "name")),
                                   self.hostile()))
        if self.chance(0.05) and args:
            # The first keyword's value given by position instead.
            args[0] = args[0].split("=", 1)[1]
        return "%s.%s(%s)" % (receiver, method, ", ".join(args))

    def next(self):
        self.count += 1
        if not self.ns["xyp"]._xyp.is_up():
            # A few uses of the dead module's handles are enough.
            self.after_down = getattr(self, "after_down", 0) + 1
            if self.after_down > 3 and not self.queue:
                return None
        if self.queue:
            item = self.queue.pop(0)
            return item() if callable(item) else item
        if self.count == 1:
            return self.step("vp = session.viewports['Viewport: 1']", "viewports.get",
                             command=False)
        if self.count <= 1 + self.rng.randrange(1, 4):
            return self.make_xy()
        if self.count == 5 and self.chance(0.6):
            return self.make_plot()
        if self.count >= self.steps:
            return None
        table = [
            (8, self.make_xy), (5, self.file_flow), (10, self.xy_member), (14, self.math_call),
            (7, self.operator), (8, self.dict_op), (8, self.make_plot), (6, self.plot_member),
            (14, self.options_set), (6, self.viewport_op), (5, self.report),
            (4, self.lifecycle), (2, self.timer_flow), (1.5, self.callback_flow),
            (2, self.array_flow), (0.5, self.warnings_toggle), (0.8, self.shutdown),
            (2, self.generic_call), (0.6, self.fs_setup),
        ]
        return self.weighted(table)()

    def finish(self):
        """The statements that end a case: the module's shut-down, as at exit."""
        return [self.step("xyp.shutdown()", "xyp.shutdown")]

    def make_xy(self):
        r = self.rng.random()
        if r < 0.6:
            return self.assign(self.call("session", "XYData", ("session", "XYData")),
                               "session.XYData", "xy")
        if r < 0.8:
            return self.assign(self.call("xyPlot", "XYData", ("xyPlot", "XYData")),
                               "xyPlot.XYData", "xy")
        src = self.var("xy") or self.temp_xy()
        kw = "objectToCopy" if self.chance(0.8) else "xyData"
        return self.assign("session.XYData(name=%s, %s=%s)" % (self.v_name(), kw, src),
                           "session.XYData.copy", "xy")

    def fs_setup(self):
        target = self.files[0] if self.files else "f1.txt"
        return self.pick((
            self.step("make_dir('sub')", "fs.dir", command=False),
            self.step("make_dir('d.png')", "fs.dir", command=False),
            self.step("make_link('lnk1.txt', %r)" % target, "fs.link", command=False),
            self.step("make_link('lnkr.txt', 'r.txt')", "fs.link", command=False),
            self.step("make_link('lnk.png', 'old.png')", "fs.link", command=False),
            self.step("write_file('old.png', b'old')", "fs.write", command=False),
            self.step("make_link('dangling.txt', 'nothere')", "fs.link", command=False),
            self.step("make_fifo('fifo1')", "fs.fifo", command=False),
            self.step("make_link('lnkfifo.png', 'fifo1')", "fs.link", command=False),
        ))

    def file_flow(self):
        name = self.file_name()
        if name not in self.files:
            self.files.append(name)
        self.queue.append(lambda: self.read_file(name))
        return self.step("write_file(%r, %s)" % (name, self.file_bytes()), "fs.write",
                         command=False)

    def read_file(self, name):
        owner = "session" if self.chance(0.75) else "xyPlot"
        src = self.call(owner, "XYDataFromFile", (owner, "XYDataFromFile"))
        if self.chance(0.7) and "fileName=" in src:
            # Mostly the file just written.
            head, _, tail = src.partition("fileName=")
            value_end = self.value_end(tail)
            src = head + "fileName=" + repr(name) + tail[value_end:]
        return self.assign(src, owner + ".XYDataFromFile", "xy")

    @staticmethod
    def value_end(text):
        """The end of the first argument's text in a call's argument list."""
        depth, quote, i = 0, None, 0
        while i < len(text):
            ch = text[i]
            if quote:
                if ch == "\\":
                    i += 1
                elif ch == quote:
                    quote = None
            elif ch in "'\"":
                quote = ch
            elif ch in "([{":
                depth += 1
            elif ch in ")]}":
                if depth == 0:
                    return i
                depth -= 1
            elif ch == "," and depth == 0:
                return i
            i += 1
        return i

    def xy_member(self):
        v = self.var("xy") or self.var("curve")
        if not v:
            return self.make_xy()
        curve = v in self.vars.get("curve", ())
        members = self.members.get("curve" if curve else "xy", {})
        r = self.rng.random()
        if r < 0.25 and not curve:
            return self.step(self.call(v, "setValues", ("xy", "setValues")), "xy.setValues")
        if r < 0.45 and not curve:
            return self.step(self.call(v, "setData", ("xy", "setData")), "xy.setData")
        if r < 0.65 and members:
            attrs = [m for m, info in members.items() if info[0] == "attr"]
            if attrs:
                attr = self.pick(attrs)
                kind = {"xyData": "xy", "curveOptions": "curveopts"}.get(attr)
                if kind:
                    return self.assign("%s.%s" % (v, attr), ("curve." if curve else "xy.") + attr,
                                       kind, command=False)
                return self.step("_ = %s.%s" % (v, attr), ("curve." if curve else "xy.") + attr,
                                 command=False)
        index = self.pick(("0", "-1", "1", "2**63", "-2**63-1", "10**400", "1.5", "'a'",
                           "True", "None", "slice(0, 1)", "RaisingNumber()", "LyingNumber()"))
        return self.pick((
            self.step("_ = len(%s)" % v, "xy.len", command=False),
            self.step("_ = %s[%s]" % (v, index), "xy.index", command=False),
            self.step("_ = list(%s)" % v, "xy.iter", command=False),
            self.step("_ = repr(%s)" % v, "xy.repr", command=False),
            self.step("_ = bool(%s)" % v, "xy.bool", command=False),
            self.step("_ = %s in %s" % (self.pick(("(0.0, 1.0)", "0", "None", "'a'")), v),
                      "xy.contains", command=False),
            self.step("_ = hash(%s), %s == %s" % (v, v, self.any_handle() or "None"), "xy.eq",
                      command=False),
            self.step("_ = memoryview(%s).tobytes()" % v, "xy.buffer", command=False),
            self.step("_ = dir(%s)" % v, "xy.dir", command=False),
        ))

    def math_call(self):
        module = self.pick([m for m in ("xyPlot", "oskavoMath") if self.math.get(m)])
        fn = self.pick(self.math[module])
        tag = "math." + fn
        if fn in UNARY:
            n = 1
        elif fn in SEVERAL:
            n = self.weighted([(1, 0), (3, 1), (5, 2), (3, 3), (1, 5)])
        elif fn == "vectorMagnitude":
            n = self.weighted([(1, 0), (2, 1), (3, 2), (3, 3), (1, 4)])
        elif fn == "combine":
            n = self.weighted([(1, 1), (6, 2), (1, 3)])
        elif fn == "append":
            n = self.weighted([(1, 1), (5, 2), (2, 3)])
        else:
            n = 1
        operands = [self.v_xyop() for _ in range(n)]
        several = fn in SEVERAL or fn in ("vectorMagnitude", "combine", "append")
        r = self.rng.random()
        if n == 0 or r < (0.45 if several else 0.7):
            args = list(operands)
        elif r < (0.8 if several else 0.9):
            args = ["xyData=" + (self.seq(operands) if several else operands[0])]
        elif r < 0.95:
            args = [self.seq(operands)]
        else:
            args = [self.seq([self.seq(operands)])]
        for kw, domain in MATH_OPTIONS.get(fn, {}).items():
            if self.chance(0.85):
                if kw == "exponent" and self.chance(0.4) and args and "=" not in args[-1]:
                    args.append(self.value(domain))
                else:
                    args.append("%s=%s" % (kw, self.value(domain)))
        if self.chance(0.03):
            args.append("zzz=1")
        return self.assign("%s.%s(%s)" % (module, fn, ", ".join(args)), tag, "xy?")

    def operator(self):
        # One side is always XY data: an operation between two plain numbers is Python's own.
        a = self.var("xy") or self.var("curve") or self.temp_xy()
        r = self.rng.random()
        if r < 0.15:
            return self.assign(self.pick(("-%s", "abs(%s)", "+%s")) % a, "op.unary", "xy?")
        op = self.pick(("+", "-", "*", "/", "**", "//", "%", "@", "<", "==", "&"))
        b = self.v_xyop() if self.chance(0.6) else self.value("float", hostile=0.3)
        if self.chance(0.3):
            a, b = b, a
        return self.assign("%s %s %s" % (a, op, b), "op." + op, "xy?")

    def dict_expr(self):
        r = self.rng.random()
        if r < 0.6:
            return "session.xyDataObjects", "repo"
        if r < 0.7:
            return "session.xyData", "repo"
        if r < 0.82:
            return "session.xyPlots", "plots"
        if r < 0.94:
            p = self.var("plot")
            if p:
                return p + ".curves", "curves"
        return "session.viewports", "viewports"

    def dict_op(self):
        d, kind = self.dict_expr()
        key = self.v_key() if kind == "repo" else (
            repr(self.pick(self.curve_names)) if kind == "curves" and self.curve_names
            else self.v_name() if kind != "viewports" else
            self.pick(("'Viewport: 1'", "'Viewport: 2'", "''", "1")))
        r = self.rng.random()
        if r < 0.15:
            var = {"repo": "_keys", "plots": "_plots"}.get(kind, "_")
            return self.step("%s = %s.keys()" % (var, d), kind + ".keys", command=False)
        if r < 0.3:
            target = {"repo": "xy", "plots": "plot", "curves": "curve",
                      "viewports": "viewport"}[kind]
            return self.assign("%s[%s]" % (d, key), kind + ".get", target, command=False)
        if r < 0.45:
            if kind == "repo":
                return self.step("del %s[%s]" % (d, key), kind + ".del")
            return self.step("del %s[%s]" % (d, key), kind + ".del")
        if r < 0.55:
            return self.step("%s[%s] = %s" % (d, key, self.v_xyop()), kind + ".assign")
        if r < 0.7:
            return self.step(self.call(d, "changeKey", (kind, "changeKey")), kind + ".changeKey")
        return self.pick((
            self.step("_ = %s.summary()" % d, kind + ".summary", command=False),
            self.step("_ = %s.values()" % d, kind + ".values", command=False),
            self.step("_ = %s.items()" % d, kind + ".items", command=False),
            self.step("_ = %s.get(%s)" % (d, key), kind + ".get", command=False),
            self.step("_ = %s.get(%s, 5)" % (d, key), kind + ".get", command=False),
            self.step("_ = %s in %s" % (key, d), kind + ".contains", command=False),
            self.step("_ = len(%s)" % d, kind + ".len", command=False),
            self.step("_ = list(%s)" % d, kind + ".iter", command=False),
            self.step("_ = repr(%s)" % d, kind + ".repr", command=False),
            self.step("_ = bool(%s)" % d, kind + ".bool", command=False),
        ))

    def make_plot(self):
        r = self.rng.random()
        plot = self.var("plot")
        if r < 0.35 or not plot:
            return self.assign(self.call("session", "XYPlot", ("session", "XYPlot")),
                               "session.XYPlot", "plot")
        if r < 0.75:
            name = self.pick(("c1", "c2", "tip", "c1", "")) if self.chance(0.9) else None
            src = self.call(plot, "Curve", ("plot", "Curve"))
            if name is not None and "name=" in src:
                head, _, tail = src.partition("name=")
                src = head + "name=" + repr(name) + tail[self.value_end(tail):]
                if name not in self.curve_names:
                    self.curve_names.append(name)
            return self.assign(src, "plot.Curve", "curve")
        if r < 0.9:
            return self.assign(self.call(plot, "curveSet", ("plot", "curveSet")),
                               "plot.curveSet", "other")
        # A plot with a big curve shown in the viewport: drawing then has work to do.
        self.queue.append(lambda: self.step(
            "%s.setValues(displayedObject=%s)" % ("vp", plot), "viewport.setValues"))
        return self.assign("%s.Curve(name='big', xyData=xyPlot.XYData(name='big', data=%s))" %
                           (plot, self.pick(("ramp(20000)", "ramp(3000, 'nan')",
                                             "ramp(5000, 'huge')"))), "plot.Curve", "curve")

    def plot_member(self):
        plot = self.var("plot")
        if not plot:
            return self.make_plot()
        r = self.rng.random()
        if r < 0.45:
            return self.step(self.call(plot, "setValues", ("plot", "setValues")), "plot.setValues")
        if r < 0.6:
            return self.assign("%s.xyPlotOptions" % plot, "plot.xyPlotOptions", "plotopts",
                               command=False)
        attrs = [m for m, info in self.members.get("plot", {}).items() if info[0] == "attr"]
        attr = self.pick(attrs) if attrs else "name"
        return self.step("_ = %s.%s" % (plot, attr), "plot." + attr, command=False)

    def options_expr(self, kind):
        r = self.rng.random()
        if kind == "plotopts":
            v = self.var("plotopts")
            if v and r < 0.5:
                return v
            plot = self.var("plot")
            if plot and r < 0.85:
                return plot + ".xyPlotOptions"
            return "session.defaultXYPlotOptions"
        if kind == "curveopts":
            v = self.var("curveopts")
            if v and r < 0.5:
                return v
            curve = self.var("curve")
            if curve:
                return curve + ".curveOptions"
            return None
        return "session.xyReportOptions" if r < 0.8 else "session.defaultXYReportOptions"

    def options_set(self):
        kind = self.weighted([(5, "plotopts"), (3, "curveopts"), (3, "reportopts")])
        target = self.options_expr(kind)
        if target is None:
            return self.make_plot()
        members = self.options_members.get(kind, {})
        if not members:
            return self.generic_call()
        names = sorted(members)
        kws = []
        for _ in range(self.weighted([(1, 0), (5, 1), (4, 2), (2, 3), (1, 6)])):
            kw = self.pick(names)
            kws.append((kw, members[kw]))
        args = []
        for kw, domain in kws:
            args.append("%s=%s" % (kw, self.value(domain)))
        if self.chance(0.05):
            args.append("options=%s" % (self.options_expr(kind) or self.hostile()))
        return self.step("%s.setValues(%s)" % (target, ", ".join(args)), kind + ".setValues")

    def viewport_op(self):
        r = self.rng.random()
        vp = "vp" if self.chance(0.9) else "session.viewports[%s]" % self.pick(
            ("'Viewport: 1'", "'Viewport: 2'", "''"))
        if r < 0.35:
            return self.step(self.call(vp, "setValues", ("viewport", "setValues")),
                             "viewport.setValues")
        if r < 0.8:
            return self.step(self.call(vp, "saveImage", ("viewport", "saveImage")),
                             "viewport.saveImage")
        if r < 0.9:
            target = (vp + ".viewportAnnotationOptions" if self.chance(0.85)
                      else "session.defaultViewportAnnotationOptions")
            return self.step(self.call(target, "setValues", ("annotations", "setValues")),
                             "annotations.setValues")
        return self.step("_ = %s.displayedObject" % vp, "viewport.displayedObject",
                         command=False)

    def report(self):
        return self.step(self.call("session", "writeXYReport", ("session", "writeXYReport")),
                         "session.writeXYReport")

    def lifecycle(self):
        r = self.rng.random()
        v = self.any_handle()
        if r < 0.35 and v:
            self.forget(v)
            return self.step("del %s" % v, "py.del", command=False)
        if r < 0.55:
            return self.step("gc.collect()", "py.gc", command=False)
        if r < 0.8 and self.vars.get("xy"):
            v = self.var("xy")
            return self.step("del session.xyDataObjects[%s.name]" % v, "repo.del")
        plot = self.var("plot")
        if plot:
            # Replaces the plot: the old handle's plot is gone.
            return self.step("session.XYPlot(name=%s.name)" % plot, "session.XYPlot.replace")
        return self.step("gc.collect()", "py.gc", command=False)

    def long_command(self):
        """A command with enough work for a signal to arrive while it runs."""
        r = self.rng.random()
        if r < 0.35:
            return self.assign("session.XYDataFromFile(name='big', fileName='big.txt')",
                               "session.XYDataFromFile", "xy")
        if r < 0.6:
            return self.step("vp.saveImage(fileName=%s, width=400, height=300)" %
                             self.pick(("'big.png'", "'big.svg'", "'big.pdf'")),
                             "viewport.saveImage")
        if r < 0.8:
            return self.step("session.writeXYReport(fileName='big.rpt', xyData=('big',), "
                             "appendMode=False)", "session.writeXYReport")
        return self.assign("xyPlot.smooth(session.xyDataObjects['big'], window=101)",
                           "math.smooth", "xy?")

    def timer_flow(self):
        action = self.weighted([(3, "shutdown"), (2, "exit"), (2, "interrupt"), (2, "timeout"),
                                (1, "planted"), (1, "clear"), (1, "replot")])
        delay = self.pick((0.0005, 0.002, 0.01, 0.03, 0.1))
        self.hooks = True
        plot = self.var("plot")
        setup = [
            self.step("write_file('big.txt', b'0 1\\n1 2\\n' * 150000)", "fs.write",
                      command=False),
            self.step("session.XYData(name='big', data=ramp(100000))", "session.XYData"),
        ]
        if plot:
            setup.append(self.step(
                "%s.Curve(name='big', xyData=session.xyDataObjects['big'])"
                ".curveOptions.setValues(showSymbol=True)" % plot, "curveopts.setValues"))
            setup.append(self.step("vp.setValues(displayedObject=%s)" % plot,
                                   "viewport.setValues"))
        self.queue.extend(setup[1:])
        self.queue.append(self.step("arm(%r, %r)" % (action, delay), "signal.arm",
                                    command=False))
        self.queue.append(self.long_command)
        self.queue.append(self.step("disarm()", "signal.disarm", command=False))
        return setup[0]

    def callback_flow(self):
        cb = self.pick(("cb_raise", "cb_shutdown", "cb_clear", "cb_replot", "cb_reenter",
                        "cb_read"))
        self.hooks = True
        self.queue.append(self.refused_layout)
        if self.chance(0.5):
            self.queue.append(self.refused_layout)
        self.queue.append(self.step("xyp.removeQueryCallback(%s)" % cb, "xyp.removeQueryCallback",
                                    command=False))
        return self.step("xyp.addQueryCallback(%s)" % cb, "xyp.addQueryCallback", command=False)

    def refused_layout(self):
        """An options change the axes cannot lay out: it is undone and fires a query."""
        target = self.options_expr("plotopts")
        change = self.pick((
            "xAxisMajorTickMode=xyp.INCREMENT, xAxisMajorTickIncrement=1e-30",
            "yAxisMajorTickMode=xyp.INCREMENT, yAxisMajorTickIncrement=-1.0",
            "aspectRatio=-1.0", "xAxisScale=xyp.LOG",
            "xAxisMajorTickMode=xyp.INCREMENT, xAxisMajorTickIncrement=nan",
        ))
        return self.step("%s.setValues(%s)" % (target, change), "plotopts.setValues")

    def array_flow(self):
        if not self.numpy:
            return self.xy_member()
        v = self.var("xy") or self.var("curve")
        if not v:
            return self.make_xy()
        a = self.new_var()
        mutate = self.pick((
            "%s.setData(data=ramp(3))" % v,
            "del session.xyDataObjects[%s.name]" % v,
            "session.XYData(name=%s.name, data=ramp(50))" % v,
            "del %s; gc.collect()" % v,
            "xyp.shutdown()",
            "session.xyDataObjects.changeKey(fromName=%s.name, toName='moved')" % v,
        ))
        if mutate.startswith("del " + v):
            self.forget(v)
        if mutate == "xyp.shutdown()":
            self.down = True
        self.queue.append(self.step(mutate, "array.mutate"))
        self.queue.append(self.step("_ = float(%s.sum()), %s.shape, %s.tolist()[:3]" % (a, a, a),
                                    "array.read", command=False))
        return self.step("%s = np.asarray(%s)" % (a, v), "array.asarray", a, "array",
                         command=False)

    def warnings_toggle(self):
        self.warnings_error = not self.warnings_error
        mode = "error" if self.warnings_error else "ignore"
        return self.step("warnings.simplefilter(%r)" % mode, "warnings", command=False)

    def shutdown(self):
        self.down = True
        if self.chance(0.2):
            self.queue.append(self.step("xyp._xyp.initialize()", "xyp.initialize",
                                        command=False))
        return self.step("xyp.shutdown()", "xyp.shutdown", command=False)

    def generic_call(self):
        """Any discovered method of any handle, with keywords from anywhere."""
        receivers = {k: list(pool) for k, pool in self.vars.items() if pool and k in self.members}
        for kind, expr in FIXED.items():
            if kind in self.members:
                receivers.setdefault(kind, []).append(expr)
        kind = self.pick(sorted(receivers))
        methods = [m for m, info in self.members[kind].items() if info[0] == "method"]
        if not methods:
            return self.make_xy()
        method = self.pick(methods)
        table = COMMANDS.get((kind, method), (None,))[0]
        if not table:
            pool = {}
            for t, _ in COMMANDS.values():
                pool.update(t)
            keys = sorted(pool)
            table = {k: pool[k] for k in (self.pick(keys) for _ in range(3))}
        return self.step(self.call(self.pick(receivers[kind]), method, (kind, method), extra=table),
                         kind + "." + method)
