"""session.XYData: XY data typed in a script, stored in the session's repository."""
import math

import numpy as np
import pytest

import xyp

PAIRS = ((0.0, 1.0), (1.0, 4.0), (2.5, -3.0))


def f32(value):
    return float(np.float32(value))


def snapshot(repo):
    """Everything the repository holds, for before/after comparisons."""
    return {name: (xy.data, xy.legendLabel, xy.sourceDescription, xy.xValuesLabel)
            for name, xy in repo.items()}


class TestCreation:
    def test_stores_under_trimmed_name_with_defaults(self, session, repo):
        xy = session.XYData(name="  run 1  ", data=PAIRS)
        assert xy.name == "run 1"
        assert repo.keys() == ["run 1"]
        stored = repo["run 1"]
        assert stored.data == PAIRS
        assert stored.legendLabel == "run 1"
        for text in ("sourceDescription", "contentDescription", "positionDescription",
                     "xValuesLabel", "yValuesLabel", "description"):
            assert getattr(stored, text) == ""

    def test_optional_texts_are_kept_and_the_same_name_replaces_the_whole_record(self, session,
                                                                                 repo):
        session.XYData(name="a", data=PAIRS, sourceDescription="S", contentDescription="C",
                       positionDescription="P", xValuesLabel="time", yValuesLabel="force",
                       legendLabel="curve")
        a = repo["a"]
        assert (a.sourceDescription, a.contentDescription, a.positionDescription) == ("S", "C", "P")
        assert (a.xValuesLabel, a.yValuesLabel, a.legendLabel) == ("time", "force", "curve")
        assert a.description == "S: C P"
        session.XYData(name=" a", data=((7, 8),))
        assert len(repo) == 1
        assert repo["a"].data == ((7.0, 8.0),)
        assert (repo["a"].legendLabel, repo["a"].xValuesLabel) == ("a", "")

    def test_edited_pairs_keep_the_stored_texts(self, session, repo):
        session.XYData(name="a", data=PAIRS, legendLabel="L", xValuesLabel="X")
        session.XYData(name="a", data=((5, 6),), sourceDescription="Data modified in editor",
                       legendLabel="ignored")
        a = repo["a"]
        assert a.data == ((5.0, 6.0),)
        assert (a.sourceDescription, a.legendLabel, a.xValuesLabel) == (
            "Data modified in editor", "L", "X")

    def test_values_are_stored_as_float32_from_lists_and_numpy_scalars(self, session):
        xy = session.XYData(name="a", data=((0.1, 1e-50), (1e39, -1e39), (2**70, 3)))
        assert xy.data == ((f32(0.1), 0.0), (math.inf, -math.inf), (f32(2**70), 3.0))
        assert xy.data[0][0] != 0.1
        assert all(type(v) is float for pair in xy.data for v in pair)
        xy = session.XYData(name="a", data=[[1, 2], (np.float64(3.5), np.int64(4))])
        assert xy.data == ((1.0, 2.0), (3.5, 4.0))


class TestCopy:
    def test_copy_takes_pairs_and_texts(self, session, repo):
        src = session.XYData(name="src", data=PAIRS, sourceDescription="S", contentDescription="C",
                             positionDescription="P", xValuesLabel="x", yValuesLabel="y",
                             legendLabel="L")
        cp = session.XYData(name="cp", objectToCopy=src)
        assert cp.data == PAIRS
        assert (cp.sourceDescription, cp.contentDescription, cp.positionDescription,
                cp.xValuesLabel, cp.yValuesLabel, cp.legendLabel) == ("S", "C", "P", "x", "y", "L")
        assert repo.keys() == ["cp", "src"]
        with pytest.warns(DeprecationWarning, match="objectToCopy"):  # the old keyword
            assert session.XYData(name="old", xyData=src).data == PAIRS

    def test_legend_following_the_name_follows_and_given_keywords_override(self, session):
        src = session.XYData(name="src", data=PAIRS, sourceDescription="S", xValuesLabel="x")
        assert session.XYData(name="  cp  ", objectToCopy=src).legendLabel == "cp"
        cp = session.XYData(name="cp", objectToCopy=src, legendLabel="new", sourceDescription="T")
        assert (cp.legendLabel, cp.sourceDescription, cp.xValuesLabel) == ("new", "T", "x")


class TestNumpy:
    @pytest.mark.parametrize("array", [
        np.array([[0.5, 1.0], [2.0, 3.0]]),
        np.array([[0.5, 1.0], [2.0, 3.0]], dtype=np.float32),
        np.array([[0, 1], [2, 3]]),
        np.array([[0, 1], [2, 3]], dtype=np.int32),
        np.arange(8, dtype=np.float64).reshape(2, 4)[:, 1::2],      # strided columns
        np.arange(12, dtype=np.float64).reshape(6, 2)[::3],        # strided rows
        np.asfortranarray(np.array([[0.5, 1.0], [2.0, 3.0]])),
        np.array([[1, 2], [3, 4]], dtype=np.int16),
        np.array([[1, 2], [3, 4]], dtype=np.uint8),
        np.array([[1, 2], [3, 4]], dtype=np.float16),
    ], ids=["float64", "float32", "int", "int32", "cols", "rows", "fortran", "int16", "uint8",
            "float16"])
    def test_n_by_2_arrays_are_accepted(self, session, array):
        xy = session.XYData(name="a", data=array)
        assert xy.data == tuple((float(x), float(y)) for x, y in array.astype(np.float32))

    def test_large_array_round_trips(self, session):
        array = np.random.default_rng(7).normal(size=(5000, 2))
        np.testing.assert_array_equal(np.array(session.XYData(name="a", data=array).data),
                                      array.astype(np.float32))

    @pytest.mark.parametrize("array", [np.zeros((2, 3)), np.zeros(4)], ids=["n_by_3", "flat"])
    def test_wrong_shape_array_is_error_15(self, session, repo, array):
        with pytest.raises(xyp.XyPlotError) as info:
            session.XYData(name="a", data=array)
        assert info.value.code == 15
        assert len(repo) == 0


class TestErrors:
    NAME = "XYData name must be entered", 201
    PAIR = "An XYData object must contain an X and Y value", 15

    @pytest.mark.parametrize("kwargs, error", [
        (dict(name="", data=PAIRS), NAME),
        (dict(name="   ", data=PAIRS), NAME),
        (dict(name=" ", data=()), NAME),
        (dict(name="a", data=()), ("XYData object must contain at least one data point", 27)),
        (dict(name="a", data=((0, 1), (1, 2, 3))), PAIR),
        (dict(name="a", data=((0, 1), (1,))), PAIR),
        (dict(name="a", data=((0, "1"),)), PAIR),
        (dict(name="a", data=(1, 2)), PAIR),
    ])
    def test_keyboard_errors(self, session, repo, kwargs, error):
        session.XYData(name="a", data=((5, 5),), legendLabel="keep")
        before = snapshot(repo)
        with pytest.raises(xyp.XyPlotError) as info:
            session.XYData(**kwargs)
        assert (str(info.value), info.value.code) == error
        assert isinstance(info.value.details, tuple)
        assert isinstance(info.value, xyp.Error)
        assert snapshot(repo) == before

    @pytest.mark.parametrize("kwargs, named", [
        (dict(name="a"), "'data'"),
        (dict(name="a", data=5), "'data'"),
        (dict(name="a", data="ab"), "'data'"),
        (dict(name="a", objectToCopy=None), "'data'"),
        (dict(name="a", data=PAIRS, bogus=1), "'bogus'"),
        (dict(name="a", data=PAIRS, legendLabel=5), "'legendLabel'"),
        (dict(name="a", data=PAIRS, xValuesLabel=None), "'xValuesLabel'"),
        (dict(name=5, data=PAIRS), "'name'"),
    ])
    def test_wrong_arguments_are_type_errors(self, session, repo, kwargs, named):
        session.XYData(name="a", data=((5, 5),), legendLabel="keep")
        before = snapshot(repo)
        with pytest.raises(TypeError) as info:
            session.XYData(**kwargs)
        assert named in str(info.value)
        if "Label" in named:
            assert "str" in str(info.value)
        assert snapshot(repo) == before
