"""XY data math: the functions of oskavoMath (also xyPlot.NAME), the arithmetic operators,
their errors, and the pairs lent to numpy."""
import math

import numpy as np
import pytest

import oskavoMath
import xyp
import xyPlot

NAMES = ("cos sin tan acos asin atan cosh sinh tanh log log10 exp pow power currentMax currentMin "
         "currentRng currentAvg maxEnvelope minEnvelope rng avg sum normalize sqrt srss "
         "vectorMagnitude combine append differentiate integrate swap smooth saeFilter sbFilter "
         "degreeToRadian radianToDegree").split()


def xy(session, name, pairs, **labels):
    return session.XYData(name=name, data=pairs, **labels)


def ys(data):
    return [p[1] for p in data.data]


def xs(data):
    return [p[0] for p in data.data]


def test_every_function_is_published_in_both_modules():
    assert len(NAMES) == 37
    for name in NAMES:
        assert callable(getattr(oskavoMath, name)), name
        assert getattr(xyPlot, name) is not None, name


def test_one_operand_functions_on_data_and_on_numbers(session, repo):
    a = xy(session, "a", [(0, 0.5), (1, 1.0), (2, 0.25)], xValuesLabel="t", yValuesLabel="u")
    for name, f in (("sin", math.sin), ("cos", math.cos), ("tan", math.tan),
                    ("acos", math.acos), ("asin", math.asin), ("atan", math.atan),
                    ("cosh", math.cosh), ("sinh", math.sinh), ("tanh", math.tanh),
                    ("log", math.log), ("log10", math.log10), ("exp", math.exp),
                    ("sqrt", math.sqrt), ("radianToDegree", math.degrees),
                    ("degreeToRadian", math.radians)):
        result = getattr(xyPlot, name)(a)
        assert xs(result) == [0, 1, 2]
        assert ys(result) == pytest.approx([f(v) for v in (0.5, 1.0, 0.25)], rel=1e-5), name
        assert getattr(xyPlot, name)(0.5) == pytest.approx(f(0.5))
    result = oskavoMath.log10(a)
    assert result.name == "Temp" and result.sourceDescription == "log10(a)"
    assert (result.xValuesLabel, result.yValuesLabel) == ("t", "u")
    assert ys(xyPlot.power(a, 2)) == pytest.approx([0.25, 1.0, 0.0625])
    assert xyPlot.pow(3, 2) == 9
    assert list(repo.keys()) == ["a"]  # results are not stored


# Each name reaches its own operation, with the operands given as a tuple or one by one; the
# values of the operations themselves are checked in the C++ tests.
@pytest.mark.parametrize("call, expected", [
    (lambda r, a, b, c: xyPlot.currentMax(r), [3, 3, 4, 4, 5]),
    (lambda r, a, b, c: xyPlot.currentMin(r), [3, 1, 1, 1, 1]),
    (lambda r, a, b, c: xyPlot.currentRng(r), [0, 2, 3, 3, 4]),
    (lambda r, a, b, c: xyPlot.currentAvg(r), [3, 2, 8 / 3, 2.25, 2.8]),
    (lambda r, a, b, c: xyPlot.smooth(r, window=3), [3, 8 / 3, 2, 10 / 3, 5]),
    (lambda r, a, b, c: xyPlot.maxEnvelope((a, b)), [4, 5, 3]),
    (lambda r, a, b, c: xyPlot.minEnvelope(a, b), [1, 2, 3]),
    (lambda r, a, b, c: xyPlot.rng((a, b)), [3, 3, 0]),
    (lambda r, a, b, c: xyPlot.avg((a, b)), [2.5, 3.5, 3]),
    (lambda r, a, b, c: xyPlot.sum((a, b)), [5, 7, 6]),
    (lambda r, a, b, c: xyPlot.srss((a, b)),
     [math.hypot(1, 4), math.hypot(5, 2), math.hypot(3, 3)]),
    (lambda r, a, b, c: xyPlot.vectorMagnitude(a, b, c),
     [math.sqrt(21), math.sqrt(30), math.sqrt(54)]),
    (lambda r, a, b, c: xyPlot.normalize(a - c), [-0.25, 1, -0.75]),
    (lambda r, a, b, c: xyPlot.differentiate(a), [4, 1, -2]),
    (lambda r, a, b, c: xyPlot.integrate(a), [0, 3, 7]),
])
def test_each_name_reaches_its_operation(session, call, expected):
    r = xy(session, "r", [(i, v) for i, v in enumerate((3, 1, 4, 1, 5))])
    a = xy(session, "a", [(0, 1), (1, 5), (2, 3)])
    b = xy(session, "b", [(0, 4), (1, 2), (2, 3)])
    c = xy(session, "c", [(0, 2), (1, 1), (2, 6)])
    assert ys(call(r, a, b, c)) == pytest.approx(expected)


def test_several_operands_and_reshaping(session):
    a = xy(session, "a", [(0, 2), (1, -4), (2, 1)], xValuesLabel="t", yValuesLabel="u")
    b = xy(session, "b", [(0, 5), (1, 6), (2, 7)])
    assert xyPlot.sum((a, b)).sourceDescription == "sum((a, b))"
    # Different grids: the union of x inside the shared range, each operand interpolated.
    line = xy(session, "line", [(0, 0), (1, 1), (2, 2), (3, 3)])
    step = xy(session, "ten", [(0.5, 10), (1.5, 10), (2.5, 10), (3.5, 10)])
    mixed = xyPlot.sum((line, step))
    assert xs(mixed) == [0.5, 1, 1.5, 2, 2.5, 3]
    assert ys(mixed) == pytest.approx([10.5, 11, 11.5, 12, 12.5, 13])
    swapped = xyPlot.swap(a)
    assert swapped.data == ((2, 0), (-4, 1), (1, 2))
    assert (swapped.xValuesLabel, swapped.yValuesLabel) == ("u", "t")
    assert xyPlot.combine(a, b).data == ((2, 5), (-4, 6), (1, 7))
    assert xyPlot.append((a, b)).data == a.data + b.data
    # In one line, as engineers write it.
    ones = xy(session, "one", [(x, 1) for x in (2, 2.5, 4, 7)])
    assert ys(xyPlot.integrate(xyPlot.sum((ones, ones)) * 0.5)) == pytest.approx([0, 0.5, 2, 5])


def test_arithmetic_with_data_and_numbers_on_either_side_and_its_results(session, repo):
    a = xy(session, "a", [(0, 1), (1, 2), (2, 4)])
    b = xy(session, "b", [(0, 2), (1, 2), (2, 2)])
    assert ys(a + b) == [3, 4, 6]
    assert ys(a - b) == [-1, 0, 2]
    assert ys(a * b) == [2, 4, 8]
    assert ys(a / b) == [0.5, 1, 2]
    assert ys(a + 1) == [2, 3, 5] and ys(1 + a) == [2, 3, 5]
    assert ys(a - 1) == [0, 1, 3] and ys(10 - a) == [9, 8, 6]
    assert ys(a * 2.0) == [2, 4, 8] and ys(2 * a) == [2, 4, 8]
    assert ys(a / 2) == [0.5, 1, 2] and ys(4 / a) == [4, 2, 1]
    assert ys(-a) == [-1, -2, -4] and ys(abs(-a)) == [1, 2, 4]
    assert ys(a ** 2) == [1, 4, 16]
    assert xs(a * 2) == [0, 1, 2]
    assert (10 - a).sourceDescription == "10 - a"
    with pytest.raises(TypeError):
        a + "text"
    # Results can be stored and plotted.
    doubled = a * 2
    assert "Temp" not in repo.keys()
    stored = session.XYData(name="doubled", objectToCopy=doubled)
    assert stored.data == ((0, 2), (1, 4), (2, 8))
    assert repo["doubled"].sourceDescription == "a * 2"
    # Temporary data and a curve's own copy of it are operands like any other.
    plot = session.XYPlot(name="math")
    curve = plot.Curve(name="c", xyData=xyPlot.XYData(name="t", data=((0, 3), (1, 4))))
    assert ys(curve.xyData + doubled) == [5, 8]  # on the x both have, 0 to 1
    del repo["doubled"]


def test_filters_take_their_keywords(session):
    rate = 10000.0  # samples per second
    t = [i / rate for i in range(4000)]

    def amplitude(hz, filter, **keywords):
        data = xy(session, "s", [(ti, math.sin(2 * math.pi * hz * ti)) for ti in t])
        return max(abs(v) for v in ys(filter(data, **keywords))[2000:4000])

    assert amplitude(10.0, xyPlot.saeFilter, cfc=60) == pytest.approx(1.0, abs=0.01)
    assert amplitude(1000.0, xyPlot.saeFilter, cfc=60) < 0.05
    assert amplitude(1000.0, xyPlot.saeFilter, cfc=1000) > 0.5
    with pytest.raises(ValueError, match="saeFilter"):
        xyPlot.saeFilter(xy(session, "uneven", [(x * x, 0) for x in range(50)]))
    # A Butterworth low-pass is 3 dB down at its cutoff and falls off as its order above it.
    assert amplitude(50.0, xyPlot.sbFilter, cutoffFrequency=50.0, order=2) == pytest.approx(
        math.sqrt(0.5), rel=0.03)
    second = amplitude(200.0, xyPlot.sbFilter, cutoffFrequency=50.0, order=2)
    assert amplitude(200.0, xyPlot.sbFilter, cutoffFrequency=50.0, order=4) < second / 4


NAN_X = xyPlot.XYData(name="nan x", data=((float("nan"), 2),))


@pytest.mark.parametrize("call, error, text", [
    (lambda a, b: xyPlot.combine(a, b, a), xyp.XyPlotError,
     "This operation requires exactly two arguments"),
    (lambda a, b: xyPlot.append(a), xyp.XyPlotError,
     "This operation requires at least two arguments"),
    (lambda a, b: xyPlot.sum(()), TypeError, "Expecting at least one Oskavo Interface Object"),
    (lambda a, b: xyPlot.vectorMagnitude(a, b, a, b), TypeError,
     "Expecting at most three Oskavo Interface Objects"),
    (lambda a, b: xyPlot.sum((a, 3)), TypeError, "Expecting Oskavo Interface Object"),
    (lambda a, b: xyPlot.sin(), TypeError,
     r"sin\(\): missing required argument 'xyData' \(XY data or a number\)"),
    (lambda a, b: xyPlot.log(a), ValueError, r"log: .* at pair 1 \(x = 1, y = -1\)"),
    (lambda a, b: xyPlot.sqrt(a), ValueError, r"sqrt: .* at pair 1"),
    (lambda a, b: xyPlot.acos(a * 3), ValueError, r"acos: .* at pair 0"),
    (lambda a, b: a / (b - b), ValueError, r"divide: .* at pair 0"),
    (lambda a, b: xyPlot.normalize(b - b), ValueError, "normalize"),
    (lambda a, b: xyPlot.smooth(a, window=4), ValueError, "smooth"),
    (lambda a, b: xyPlot.differentiate(xyPlot.append(a, a)), ValueError, "differentiate"),
    # A one-pair operand whose x is NaN is named, in every merge of operands.
    (lambda a, b: xyPlot.avg(xyPlot.XYData(name="one", data=((1, 1),)), NAN_X), ValueError,
     r"avg: the x value is not a number at pair 0 \(x = nan, y = 2\) in operand 2"),
    (lambda a, b: NAN_X / b, ValueError, r"divide: the x value is not a number .* operand 1"),
])
def test_errors_are_clear_and_store_nothing(session, repo, call, error, text):
    a = xy(session, "a", [(0, 0.5), (1, -1), (2, 2)])
    b = xy(session, "b", [(0, 1), (1, 2), (2, 3)])
    with pytest.raises(error, match=text) as info:
        call(a, b)
    if error is xyp.XyPlotError:
        assert info.value.code in (47, 48)
    assert sorted(repo.keys()) == ["a", "b"]
    assert a.data == ((0, 0.5), (1, -1), (2, 2))


def test_numpy_reads_the_pairs_in_place(session):
    a = xy(session, "a", [(0, 1.5), (1, 2.5), (2, -3)])
    array = np.asarray(a)
    assert array.shape == (3, 2) and array.dtype == np.float32
    assert not array.flags.owndata and not array.flags.writeable
    assert array.tolist() == [list(p) for p in a.data]
    # The view keeps what it shows when the data behind the object changes.
    a.setData(data=((5, 5),))
    assert array.tolist() == [[0, 1.5], [1, 2.5], [2, -3]]
    assert np.asarray(a).tolist() == [[5, 5]]
    empty = np.asarray(a * 0)[:0]
    assert empty.shape == (0, 2)
    with pytest.raises(BufferError):
        memoryview(session.viewports)
