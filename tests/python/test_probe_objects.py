"""The probe side's session objects: probe options and report options (current and default),
the current and selected probe values, and the module "probe" with its constants."""
import pytest

import probe
import xyp

FLAGS = ("partInstance", "elementId", "elementType", "elementConnectivity", "elementFieldResults",
         "nodeId", "baseCoordinates", "deformedCoordinates", "attachedElements",
         "nodeFieldResults", "legend", "xValue", "yValue", "sequenceID")


@pytest.fixture(autouse=True)
def standard_records(session):
    yield
    for options in (session.defaultProbeOptions, session.probeOptions):
        options.setValues(probeEntity=probe.NODES, interpolateXy=False,
                          **{flag: True for flag in FLAGS})
    for report in (session.defaultProbeReport, session.probeReport):
        report.setValues(numColumns=80, numDigits=6, numFormat=probe.AUTOMATIC,
                         pageWidth=probe.NO_LIMIT, printTotal=False, printMinMax=False)


def test_the_records_and_their_views(session):
    options, report = session.probeOptions, session.probeReport
    assert repr(options) == "session.probeOptions"
    assert repr(session.defaultProbeReport) == "session.defaultProbeReport"
    assert (options.probeEntity, options.probeOutputPosition) == (probe.NODES, probe.NODAL)
    assert [f for f in FLAGS if not getattr(options, f)] == []
    assert not options.interpolateXy and not options.isFieldOutputAvailable
    assert (report.numColumns, report.numDigits, report.pageWidth, report.numFormat) == \
        (80, 6, probe.NO_LIMIT, probe.AUTOMATIC)
    assert not report.printTotal and not report.printMinMax
    # The module publishes every constant of the probe enumerations.
    for name in ("NODES", "ELEMENTS", "WHOLE_ELEMENT", "ASCENDING", "DESCENDING", "SPECIFY",
                 "ENGINEERING", "ALL_ROWS", "SELECTED_ROWS"):
        assert getattr(probe, name).name == name


@pytest.mark.parametrize("entity, asked, kept", [
    (probe.NODES, probe.CENTROID, probe.NODAL),
    (probe.ELEMENTS, probe.NODAL, probe.INTEGRATION_POINT),
    (probe.ELEMENTS, probe.ELEMENT_FACE, probe.ELEMENT_FACE),
])
def test_the_output_position_follows_the_entity(session, entity, asked, kept):
    for options in (session.probeOptions, session.defaultProbeOptions):
        options.setValues(probeEntity=entity, probeOutputPosition=asked)
        assert (options.probeEntity, options.probeOutputPosition) == (entity, kept)


def test_defaults_and_current_records_are_apart(session):
    # Set before anything was probed, the current options keep what was set: a later use does
    # not copy the defaults over them.
    session.probeOptions.setValues(interpolateXy=True)
    session.defaultProbeOptions.setValues(interpolateXy=False, legend=False)
    assert session.probeOptions.interpolateXy and session.probeOptions.legend
    assert not session.defaultProbeOptions.legend
    # options= starts from another object's record.
    session.probeOptions.setValues(options=session.defaultProbeOptions, xValue=False)
    current = session.probeOptions
    assert not current.legend and not current.interpolateXy and not current.xValue
    session.defaultProbeReport.setValues(numDigits=9, pageWidth=probe.SPECIFY)
    assert session.probeReport.numDigits == 6
    session.probeReport.setValues(options=session.defaultProbeReport)
    assert (session.probeReport.numDigits, session.probeReport.pageWidth) == (9, probe.SPECIFY)


def test_totals_and_extremes_need_field_output(session):
    session.probeReport.setValues(printTotal=True, printMinMax=True, numDigits=4)
    report = session.probeReport
    assert session.selectedProbeValues.fieldOutputAvailable is False
    assert (report.printTotal, report.printMinMax, report.numDigits) == (False, False, 4)
    session.defaultProbeReport.setValues(printTotal=True)  # the default record takes it as given
    assert session.defaultProbeReport.printTotal


@pytest.mark.parametrize("keywords, error, text", [
    (dict(bogus=1), TypeError, "unexpected keyword argument 'bogus'"),
    (dict(interpolateXy=True, probeEntity=5), TypeError, "'probeEntity' expects"),
    (dict(legend=False, probeOutputPosition="NODAL"), TypeError, "'probeOutputPosition'"),
    (dict(xValue=False, options=1), TypeError, "'options'"),
])
def test_refused_option_values_change_nothing(session, keywords, error, text):
    before = [getattr(session.probeOptions, flag) for flag in FLAGS + ("interpolateXy",)]
    with pytest.raises(error, match=text):
        session.probeOptions.setValues(**keywords)
    assert [getattr(session.probeOptions, flag) for flag in FLAGS + ("interpolateXy",)] == before
    with pytest.raises(TypeError, match="'numDigits'"):
        session.probeReport.setValues(printTotal=True, numDigits="6")
    assert session.probeReport.numDigits == 6


def test_a_new_session_probes_nothing_and_shows_one_blank_row(run_python):
    # In a fresh interpreter: probing in the tests before leaves its client current.
    result = run_python(
        "import xyp\n"
        "s = xyp.session\n"
        "assert s.probeOptions.probeObject == 'None', s.probeOptions.probeObject\n"
        "assert s.probeOptions.probeOutputPositionsAvailable == ()\n"
        "selected = s.selectedProbeValues\n"
        "assert repr(selected) == 'session.selectedProbeValues'\n"
        "assert (selected.length, selected.values, selected.lastValues) == (1, (('',),), ('',))\n"
        "assert s.currentProbeValues.values == ('',)\n")
    assert result.returncode == 0, result.stderr