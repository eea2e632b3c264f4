"""XY data objects: reading, changing, and writing back to the repository."""
import warnings

import numpy as np
import pytest

import xyp
import xyPlot

PAIRS = ((0.0, 1.0), (1.0, 4.0), (2.0, 9.0))
MEMBERS = {"name", "sourceDescription", "contentDescription", "positionDescription",
           "xValuesLabel", "yValuesLabel", "legendLabel", "description", "data",
           "setValues", "setData"}


class TestReading:
    def test_sequence_protocol_dir_and_repr(self, session):
        xy = session.XYData(name="a", data=PAIRS)
        assert MEMBERS <= set(dir(xy))
        assert repr(xy) == "session.xyDataObjects['a'] (3 pairs)"
        for name in ("it's", 'say "x"', "back\\slash"):
            assert (repr(session.XYData(name=name, data=PAIRS[:1]))
                    == "session.xyDataObjects[%r] (1 pair)" % name)
        assert len(xy) == 3
        assert xy[0] == (0.0, 1.0)
        assert xy[-1] == (2.0, 9.0)
        assert xy[-3] == xy[0]
        assert list(xy) == list(PAIRS)
        assert (1.0, 4.0) in xy
        for bad in (3, -4):
            with pytest.raises(IndexError):
                xy[bad]
        with pytest.raises(TypeError):
            xy["x"]

    @pytest.mark.parametrize("dtype", [np.float32, np.float64])
    def test_an_array_changed_after_the_call_changes_nothing_stored(self, session, dtype):
        # Arrays are read in place during the call; what is kept must be a copy of its own.
        pairs = np.array(PAIRS, dtype=dtype)
        xy = session.XYData(name="a", data=pairs)
        copy = session.XYData(name="b", objectToCopy=xy)
        pairs[:] = -7
        assert tuple(xy.data) == PAIRS and tuple(copy.data) == PAIRS
        xy.setData(data=pairs[::-1])  # a strided view is read as well
        pairs[:] = 5
        assert tuple(xy.data) == ((-7.0, -7.0),) * 3

    @pytest.mark.parametrize("member", sorted(MEMBERS - {"setValues", "setData"}))
    def test_attributes_are_read_only(self, session, repo, member):
        xy = session.XYData(name="a", data=PAIRS)
        before = getattr(xy, member)
        with pytest.raises(AttributeError):
            setattr(xy, member, "x")
        assert getattr(xy, member) == before
        assert getattr(repo["a"], member) == before


class TestChanging:
    def test_set_values_changes_texts_and_the_stored_record(self, session, repo):
        xy = session.XYData(name="a", data=PAIRS)
        xy.setValues(sourceDescription="S", contentDescription="C", positionDescription="P",
                     xValuesLabel="x", yValuesLabel="y", legendLabel="L")
        for obj in (xy, repo["a"]):
            assert (obj.description, obj.xValuesLabel, obj.yValuesLabel, obj.legendLabel) == (
                "S: C P", "x", "y", "L")
            assert obj.name == "a"
            assert obj.data == PAIRS
        xy.setData(data=[(5, 6)])  # replaces the pairs, keeps the texts
        assert xy.data == repo["a"].data == ((5.0, 6.0),)
        assert len(xy) == 1 and repo["a"].legendLabel == "L"

    def test_wrong_arguments_are_type_errors(self, session, repo):
        xy = session.XYData(name="a", data=PAIRS)
        with pytest.raises(TypeError, match="'name'"):
            xy.setValues(name="b")
        with pytest.raises(TypeError, match="'legendLabel'.*str"):
            xy.setValues(legendLabel=5)
        with pytest.raises(TypeError, match="'data'"):
            xy.setData(data=5)
        assert repo.keys() == ["a"]
        assert xy.legendLabel == repo["a"].legendLabel == "a"
        assert xy.data == repo["a"].data == PAIRS

    @pytest.mark.parametrize("data, code", [((), 27), (((1, 2), (3,)), 15), (((1, 2, 3),), 15)])
    def test_set_data_checks_before_changing(self, session, repo, data, code):
        xy = session.XYData(name="a", data=PAIRS)
        with pytest.raises(xyp.XyPlotError) as info:
            xy.setData(data=data)
        assert info.value.code == code
        assert xy.data == repo["a"].data == PAIRS

class TestWriteBack:
    def test_handles_keep_their_own_snapshot_and_write_only_what_they_change(self, session,
                                                                              repo):
        old = session.XYData(name="a", data=PAIRS, xValuesLabel="X0")
        newer = repo["a"]
        newer.setData(data=((5, 6),))
        newer.setValues(xValuesLabel="X1")
        assert (old.data, len(old), old.xValuesLabel) == (PAIRS, 3, "X0")
        assert (repo["a"].data, repo["a"].xValuesLabel) == (((5.0, 6.0),), "X1")
        old.setValues(legendLabel="L")
        assert repo["a"].data == ((5.0, 6.0),)
        assert repo["a"].xValuesLabel == "X1"
        assert repo["a"].legendLabel == "L"
        newer.setValues(yValuesLabel="Y")   # newer still sees legend 'a' but must not write it
        assert repo["a"].legendLabel == "L"
        old.setData(data=((9, 9),))
        stored = repo["a"]
        assert (stored.data, stored.xValuesLabel, stored.yValuesLabel, stored.legendLabel) == (
            ((9.0, 9.0),), "X1", "Y", "L")

    def test_handle_of_a_deleted_record_does_not_bring_it_back(self, session, repo):
        xy = session.XYData(name="a", data=PAIRS)
        del repo["a"]
        xy.setData(data=((1, 1),))
        xy.setValues(legendLabel="L")
        assert "a" not in repo
        assert xy.data == ((1.0, 1.0),) and xy.legendLabel == "L"


class TestTemporary:
    def test_temporary_objects_are_never_stored_but_copies_are(self, session, repo):
        tmp = xyPlot.XYData(name=" t ", data=PAIRS, xValuesLabel="x")
        assert (tmp.name, tmp.legendLabel, tmp.data, tmp.xValuesLabel) == ("Temp", "t", PAIRS, "x")
        assert len(repo) == 0
        with pytest.raises(xyp.XyPlotError) as info:  # the keyboard's errors
            xyPlot.XYData(name=" ", data=PAIRS)
        assert info.value.code == 201 and len(repo) == 0
        session.XYData(name="kept", objectToCopy=tmp)
        tmp.setData(data=((0, 0),))
        assert (repo["kept"].data, repo["kept"].legendLabel) == (PAIRS, "t")

    def test_changing_a_temporary_changes_only_it(self, session, repo):
        session.XYData(name="Temp", data=((1, 2),), legendLabel="stored")
        tmp = xyPlot.XYData(name="t", data=PAIRS)
        tmp.setData(data=((5, 6),))
        tmp.setValues(legendLabel="mine")
        assert (tmp.data, tmp.legendLabel) == (((5.0, 6.0),), "mine")
        assert repo.keys() == ["Temp"]
        assert (repo["Temp"].data, repo["Temp"].legendLabel) == (((1.0, 2.0),), "stored")


def nested(depth, kind=tuple):
    value = kind()
    for _ in range(depth):
        value = kind([value])
    return value


def self_list():
    a = []
    a.append(a)
    return a


def self_dict():
    d = {}
    d["d"] = d
    return d


class Clears:
    """An x whose conversion empties the list being read."""

    def __init__(self, victim):
        self.victim = victim

    def __index__(self):
        self.victim.clear()
        return 7


class TestHostileArguments:
    """Arguments that try to break the conversion: nothing crashes, nothing stored is lost."""

    @pytest.mark.parametrize("value", [self_list(), self_dict(), nested(40000),
                                       nested(40000, list), [[0, 1], nested(5000)]],
                             ids=["self-list", "self-dict", "tuples", "lists", "deep-item"])
    def test_nesting_is_bounded(self, session, repo, value):
        session.XYData(name="keep", data=PAIRS)
        with pytest.raises(RecursionError):
            session.XYData(name="keep", data=value)
        assert repo["keep"].data == PAIRS

    @pytest.mark.parametrize("value", [[(1, 2j)], np.array([[1, 2 + 1j]]),
                                       np.array([[1, 2]], dtype=np.complex64)],
                             ids=["complex", "complex128", "complex64"])
    def test_complex_values_are_refused_not_cut_to_their_real_part(self, session, repo, value):
        session.XYData(name="keep", data=PAIRS)
        with warnings.catch_warnings():
            warnings.simplefilter("error")
            with pytest.raises(TypeError, match="data: complex values"):
                session.XYData(name="keep", data=value)
        assert repo["keep"].data == PAIRS

    def test_a_container_changed_while_read_is_read_as_it_was(self, session):
        outer = []
        outer.extend([[Clears(outer), 1], (2, 3)] * 50)
        xy = session.XYData(name="m", data=outer)
        assert outer == []
        assert xy.data == ((7.0, 1.0), (2.0, 3.0)) * 50
        box = {}
        box.update({str(i): Clears(box) for i in range(20)})
        with pytest.raises(TypeError):  # read whole, then refused as data
            session.XYData(name="m", data=box)

    @pytest.mark.parametrize("big, value", [(10**400, float("inf")), (-10**400, float("-inf"))])
    def test_integers_beyond_double_range_narrow_to_infinity(self, session, repo, big, value):
        session.XYData(name="keep", data=PAIRS)
        session.XYData(name="keep", data=[[0, 1], [1, big]])
        assert repo["keep"].data == ((0.0, 1.0), (1.0, value))
        # The integer computes as its infinity does: never as the -1 of a failed conversion.
        z = xyPlot.XYData(name="z", data=((1, 2), (2, 3)))
        outcomes = []
        for operand in (big, value):
            try:
                outcomes.append((z ** operand).data)
            except ValueError as e:
                outcomes.append(str(e))
        assert outcomes[0] == outcomes[1] and outcomes[0] != ((1.0, 2.0), (2.0, 3.0)), outcomes
        # Where an infinity is refused, so is the integer, and the stored value stays.
        plot = session.XYPlot(name="p")
        plot.Curve(name="c", xyData=repo["keep"])
        plot.setValues(curvesToPlot=("c",))
        options = plot.xyPlotOptions
        for keyword in ("aspectRatio", "xAxisMajorTickIncrement"):
            after = []
            for operand in (value, big):
                with pytest.raises(xyp.XyPlotError):
                    options.setValues(xAxisMajorTickMode=xyPlot.INCREMENT, **{keyword: operand})
                after.append((getattr(options, keyword), options.xAxisMajorTickMode.name))
            assert after[0] == after[1] and after[0][1] == "AUTOCOMPUTE"

    @pytest.mark.parametrize("call, error, text", [
        (lambda s: s.XYData(name="a\ud800b", data=PAIRS), ValueError,
         r"^name: the text holds a lone surrogate \(U\+D800 at position 1\)"),
        (lambda s: s.XYData(name="a", data=PAIRS, legendLabel=["\udfff"]), ValueError,
         r"^legendLabel: .*U\+DFFF"),
        (lambda s: s.XYData(**{"name": "a", "data": PAIRS, "\ud800": 1}), TypeError, "ud800"),
        (lambda s: s.XYData(name="a", data=PAIRS)[2**63], IndexError, ""),
        (lambda s: s.XYData(name="a", data=PAIRS)[-2**63 - 1], IndexError, ""),
        (lambda s: s.XYData(name="a", data=PAIRS)[3], IndexError, ""),
        (lambda s: s.xyDataObjects["\ud800"], KeyError, ""),
        (lambda s: s.XYData(name="a", data=object()), TypeError,
         r"^data: values of type 'object'"),
    ])
    def test_values_that_cannot_convert_name_the_argument(self, session, repo, call, error,
                                                          text):
        with pytest.raises(error, match=text):
            call(session)
        assert list(repo.keys()) in ([], ["a"])

    def test_containment_of_names_that_cannot_exist(self, session, repo):
        session.XYData(name="a", data=PAIRS)
        assert "\ud800" not in repo and 1 not in repo and "a" in repo
        assert repo.get("\ud800", "none") == "none"
