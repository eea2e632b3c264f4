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


def test_running_values(session):
    a = xy(session, "r", [(i, v) for i, v in enumerate((3, 1, 4, 1, 5))])
    assert ys(xyPlot.currentMax(a)) == [3, 3, 4, 4, 5]
    assert ys(xyPlot.currentMin(a)) == [3, 1, 1, 1, 1]
    assert ys(xyPlot.currentRng(a)) == [0, 2, 3, 3, 4]
    assert ys(xyPlot.currentAvg(a)) == pytest.approx([3, 2, 8 / 3, 2.25, 2.8])


def test_several_operands_on_shared_and_different_grids(session):
    a = xy(session, "a", [(0, 1), (1, 5), (2, 3)])
    b = xy(session, "b", [(0, 4), (1, 2), (2, 3)])
    assert ys(xyPlot.maxEnvelope((a, b))) == [4, 5, 3]
    assert ys(xyPlot.minEnvelope(a, b)) == [1, 2, 3]
    assert ys(xyPlot.rng((a, b))) == [3, 3, 0]
    assert ys(xyPlot.avg((a, b))) == [2.5, 3.5, 3]
    total = xyPlot.sum((a, b))
    assert ys(total) == [5, 7, 6] and total.sourceDescription == "sum((a, b))"
    assert ys(xyPlot.srss((a, b))) == pytest.approx([math.hypot(1, 4), math.hypot(5, 2),
                                                      math.hypot(3, 3)])
    c = xy(session, "c", [(0, 2), (1, 1), (2, 6)])
    assert ys(xyPlot.vectorMagnitude(a, b, c)) == pytest.approx([math.sqrt(21), math.sqrt(30),
                                                                 math.sqrt(54)])
    # Different grids: the union of x inside the shared range, each operand interpolated.
    line = xy(session, "line", [(0, 0), (1, 1), (2, 2), (3, 3)])
    step = xy(session, "ten", [(0.5, 10), (1.5, 10), (2.5, 10), (3.5, 10)])
    mixed = xyPlot.sum((line, step))
    assert xs(mixed) == [0.5, 1, 1.5, 2, 2.5, 3]
    assert ys(mixed) == pytest.approx([10.5, 11, 11.5, 12, 12.5, 13])


def test_reshaping_functions(session):
    a = xy(session, "a", [(0, 2), (1, -4), (2, 1)], xValuesLabel="t", yValuesLabel="u")
    b = xy(session, "b", [(0, 5), (1, 6), (2, 7)])
    assert ys(xyPlot.normalize(a)) == [0.5, -1, 0.25]
    swapped = xyPlot.swap(a)
    assert swapped.data == ((2, 0), (-4, 1), (1, 2))
    assert (swapped.xValuesLabel, swapped.yValuesLabel) == ("u", "t")
    assert xyPlot.combine(a, b).data == ((2, 5), (-4, 6), (1, 7))
    assert xyPlot.append((a, b)).data == a.data + b.data
    assert ys(xyPlot.smooth(xy(session, "s", [(i, v) for i, v in enumerate((0, 3, 6, 3, 0))]),
                            window=3)) == [0, 3, 4, 3, 0]


def test_differentiate_and_integrate(session):
    square = xy(session, "sq", [(x, x * x) for x in (0, 1, 3, 4, 7)])
    slope = ys(xyPlot.differentiate(square))
    assert slope[1:4] == pytest.approx([2, 6, 8])  # 2x inside, on uneven spacing
    ones = xy(session, "one", [(x, 1) for x in (2, 2.5, 4, 7)])
    area = xyPlot.integrate(ones)
    assert ys(area) == pytest.approx([0, 0.5, 2, 5])
    # In one line, as engineers write it.
    both = xyPlot.integrate(xyPlot.sum((ones, ones)) * 0.5)
    assert ys(both) == pytest.approx([0, 0.5, 2, 5])


def test_arithmetic_with_data_and_numbers_on_either_side(session):
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


def test_results_can_be_stored_and_plotted(session, repo):
    a = xy(session, "a", [(0, 1), (1, 2)])
    doubled = a * 2
    assert "Temp" not in repo.keys()
    stored = session.XYData(name="doubled", objectToCopy=doubled)
    assert stored.data == ((0, 2), (1, 4))
    assert repo["doubled"].sourceDescription == "a * 2"
    # Temporary data and a curve's own copy of it are operands like any other.
    plot = session.XYPlot(name="math")
    curve = plot.Curve(name="c", xyData=xyPlot.XYData(name="t", data=((0, 3), (1, 4))))
    assert ys(curve.xyData + doubled) == [5, 8]
    del repo["doubled"]


def test_filters(session):
    rate = 10000.0  # samples per second
    t = [i / rate for i in range(4000)]

    def sine(name, hz, x=t):
        return xy(session, name, [(ti, math.sin(2 * math.pi * hz * ti)) for ti in x])

    def amplitude(data, start=1000, end=3000):
        return max(abs(v) for v in ys(data)[start:end])

    low, high = sine("low", 10.0), sine("high", 1000.0)
    kept, removed = xyPlot.saeFilter(low, cfc=60), xyPlot.saeFilter(high, cfc=60)
    assert amplitude(kept) == pytest.approx(1.0, abs=0.01)
    assert amplitude(removed) < 0.05
    # Phaseless: the peaks of the kept sine stay where they were.
    peaks = [i for i in range(1000, 3000) if ys(low)[i] == max(ys(low)[i - 5:i + 6])]
    for i in peaks:
        assert max(range(i - 5, i + 6), key=lambda k: ys(kept)[k]) in (i - 1, i, i + 1)
    uneven = xy(session, "uneven", [(x * x, 0) for x in range(50)])
    with pytest.raises(ValueError, match="saeFilter"):
        xyPlot.saeFilter(uneven)
    # A Butterworth low-pass is 3 dB down at its cutoff and falls off as its order above it.
    at_cutoff = xyPlot.sbFilter(sine("cut", 50.0), cutoffFrequency=50.0, order=2)
    assert amplitude(at_cutoff, 2000, 4000) == pytest.approx(math.sqrt(0.5), rel=0.03)
    tenfold = xyPlot.sbFilter(sine("ten", 500.0), cutoffFrequency=50.0, order=2)
    assert amplitude(tenfold, 2000, 4000) < 0.02


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
