"""session.xyDataObjects: the repository seen as a mapping of names to XY data objects."""
import os
import random

import pytest

import xyp

PAIRS = ((0.0, 1.0), (1.0, 2.0))


def store(session, *names, **texts):
    for name in names:
        session.XYData(name=name, data=PAIRS, **texts)


class TestMapping:
    def test_empty_and_lookups(self, session, repo):
        assert len(repo) == 0 and not repo
        assert repo.keys() == [] and list(repo) == []
        assert repo.values() == [] and repo.items() == []
        assert repr(repo) == "session.xyDataObjects"
        assert repo.summary() == "EMPTY SUMMARY"
        store(session, "a", "b")
        assert len(repo) == 2 and repo
        assert "a" in repo and "c" not in repo and 5 not in repo
        assert repo["b"].name == "b"
        assert repo.get("a").data == PAIRS
        assert repo.get("c") is None
        assert repo.get("c", 7) == 7
        with pytest.raises(KeyError, match="'c'"):
            repo["c"]
        assert {"keys", "values", "items", "get", "changeKey", "summary"} <= set(dir(repo))
        del repo["a"]
        assert repo.keys() == ["b"]
        with pytest.raises(KeyError, match="'a'"):
            del repo["a"]
        assert repo.keys() == ["b"]

    def test_keys_values_items_agree_and_are_sorted_by_bytes(self, session, repo):
        names = ["b", "B", "a", "_", "10", "9", "Z", "aa", "a b", "~", "é"]
        store(session, *random.Random(3).sample(names, len(names)))
        expected = sorted(names, key=lambda n: n.encode())
        assert repo.keys() == expected
        assert list(repo) == expected
        assert [xy.name for xy in repo.values()] == expected
        assert [(k, xy.name) for k, xy in repo.items()] == [(n, n) for n in expected]

    def test_assignment_only_warns(self, session, repo, capfd):
        store(session, "a")
        other = session.XYData(name="b", data=((7, 7),))
        capfd.readouterr()
        repo["a"] = other
        repo["new"] = other
        err = capfd.readouterr().err
        assert "Assignment on XYData Dictionary Not implemented." in err
        assert repo.keys() == ["a", "b"]
        assert repo["a"].data == PAIRS

    def test_old_name_warns_and_is_the_same_repository(self, session, repo):
        with pytest.warns(DeprecationWarning, match="xyDataObjects"):
            old = session.xyData
        store(session, "a")
        assert old.keys() == ["a"]
        del old["a"]
        assert len(repo) == 0


class TestChangeKey:
    def test_rename_trims_moves_everything_and_the_legend_that_was_the_name(self, session, repo):
        session.XYData(name="a", data=PAIRS, xValuesLabel="x", sourceDescription="S")
        session.XYData(name="c", data=PAIRS, legendLabel="mine")
        repo.changeKey(fromName="a", toName="  b  ")
        repo.changeKey(fromName="c", toName="d")
        assert repo.keys() == ["b", "d"]
        b = repo["b"]
        assert (b.name, b.data, b.xValuesLabel, b.sourceDescription) == ("b", PAIRS, "x", "S")
        assert (b.legendLabel, repo["d"].legendLabel) == ("b", "mine")

    def test_rename_onto_an_existing_name_replaces_it_and_an_absent_name_changes_nothing(
            self, session, repo):
        store(session, "a")
        session.XYData(name="b", data=((9, 9),))
        repo.changeKey(fromName="a", toName="b")
        assert repo.keys() == ["b"] and repo["b"].data == PAIRS
        store(session, "a")
        repo.changeKey(fromName="zz", toName="c")
        repo.changeKey(fromName="zz", toName="b")  # nor loses the entry of the new name
        assert repo.keys() == ["a", "b"]
        assert repo["b"].data == PAIRS

    @pytest.mark.parametrize("to_name, text, code", [
        ("", "XYData name must be entered", 201),
        ("   ", "XYData name must be entered", 201),
        ("a", "The new name must differ from the old name", 202),
        (" a ", "The new name must differ from the old name", 202),
    ])
    @pytest.mark.parametrize("filled", [True, False], ids=["filled", "empty"])
    def test_rename_errors(self, session, repo, to_name, text, code, filled):
        if filled:
            store(session, "a", "b")
        before = repo.keys()
        with pytest.raises(xyp.XyPlotError) as info:
            repo.changeKey(fromName="a", toName=to_name)
        assert (str(info.value), info.value.code) == (text, code)
        assert repo.keys() == before


class TestSummary:
    def test_rows_in_name_order_follow_changes(self, session, repo):
        session.XYData(name="d", data=PAIRS)
        session.XYData(name="c", data=PAIRS, contentDescription="C")
        session.XYData(name="b", data=PAIRS, sourceDescription="S", positionDescription="P")
        session.XYData(name="a", data=PAIRS, sourceDescription="S", contentDescription="C",
                       positionDescription="P")
        assert repo.summary() == (("a", "S: C P"), ("b", "S P"), ("c", ": C"), ("d", ""))
        repo["d"].setValues(sourceDescription="S", contentDescription="C")
        repo.changeKey(fromName="d", toName="z")
        assert repo.summary()[-1] == ("z", "S: C")


class TestNamesThatAreNotUtf8:
    """Names read from files need not be UTF-8: they reach Python escaped (as os.fsdecode does),
    and the escaped text names the same entry, so the repository stays listable and editable."""

    def test_a_name_from_a_file_header(self, session, repo, tmp_path):
        path = tmp_path / "latin1.txt"
        path.write_bytes(b"* Spannung_\xb5m\n0 1\n1 2\n")
        session.XYData(name="plain", data=PAIRS)
        xy = session.XYDataFromFile(name="q", fileName=str(path))
        name = os.fsdecode(b"Spannung_\xb5m")
        assert xy.name == name
        assert repo.keys() == [name, "plain"]
        assert [n for n, _ in repo.summary()] == [name, "plain"]
        assert [n for n, _ in repo.items()] == list(repo) == [name, "plain"]
        assert name in repo and repo[name].data == PAIRS and name in repr(repo[name])
        repo.changeKey(fromName=name, toName="renamed")
        repo.changeKey(fromName="renamed", toName=name)
        del repo[name]
        assert repo.keys() == ["plain"]

    def test_escaped_names_given_from_python(self, session, repo):
        name = os.fsdecode(b"p\xff")
        session.XYData(name=name, data=PAIRS)
        plot = session.XYPlot(name=name)
        assert repo.keys() == [name] and name in session.xyPlots.keys()
        curve = plot.Curve(name=name, xyData=repo[name])
        assert plot.curves.keys() == [name]
        session.XYPlot(name=name)  # replaces the plot and its curves
        with pytest.raises(xyp.XyPlotError) as info:
            curve.curveOptions
        assert str(info.value) == "Curve not found: " + name
