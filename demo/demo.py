"""A tour of what xyp does so far: XY data typed in, read from a text file and extracted from the
history output of a results file, listed, renamed and summarised, written to XY reports, plotted
with automatic axes, and saved as PNG, SVG and PDF; probing plots and models; and a CalculiX job
solved, imported and plotted.

Run with the xyp executable (session and xyPlot are predefined):
    build/xyp demo/demo.py
"""
import math
import os
import shutil
import subprocess
import tempfile

here = os.path.dirname(os.path.abspath(__file__))

# Typed pairs: a damped oscillation and its envelope.
times = [i * 0.05 for i in range(201)]
signal = session.XYData(
    name="displacement",
    data=[(t, math.exp(-0.4 * t) * math.cos(2 * math.pi * t)) for t in times],
    sourceDescription="Typed in demo",
    contentDescription="U2",
    positionDescription="at node 12",
    xValuesLabel="Time [s]",
    yValuesLabel="U2 [mm]",
)
envelope = session.XYData(name="envelope", data=[(t, math.exp(-0.4 * t)) for t in times],
                          xValuesLabel="Time [s]", yValuesLabel="U2 [mm]",
                          sourceDescription="Typed in demo")
print(f"Created {signal.name!r} with {len(signal)} pairs; first {signal[0]}, last {signal[-1]}")

# A copy keeps the texts; its legend follows the new name because the source's followed its own.
copy = session.XYData(name="displacement (copy)", objectToCopy=signal)
print(f"Copy {copy.name!r}: legend {copy.legendLabel!r}, x label {copy.xValuesLabel!r}")

data = session.xyDataObjects
print("Stored:", data.keys())

# Renaming moves the record, and a legend that followed the name.
data.changeKey(fromName="envelope", toName="decay envelope")
print("After rename:", data.keys(), "legend:", data["decay envelope"].legendLabel)

# Changing texts through a handle writes them back to the stored record.
data["displacement"].setValues(legendLabel="U2, node 12")
print("Legend now:", data["displacement"].legendLabel)

# Temporary data from the xyPlot module never enters the repository.
scratch = xyPlot.XYData(name="scratch", data=((0, 0), (1, 1)))
print(f"Temporary object {scratch.name!r}; stored names unchanged: {'scratch' not in data}")

# Errors carry the catalogue's text and code.
try:
    session.XYData(name="bad", data=((0, 1), (1, 2, 3)))
except xyp.XyPlotError as e:
    print(f"Refused: {e} (code {e.code})")

print("Summary:")
for name, description in data.summary():
    print(f"  {name:22s} {description}")
del data["displacement (copy)"]
print("After delete:", data.keys())

# Two columns of a text file: blanks, tabs or commas, "**" comments, a "*name" header line.
tip = session.XYDataFromFile(name="ignored", fileName=os.path.join(here, "data", "beam_tip.txt"),
                             xField=1, yField=2, xValuesLabel="Time [s]", yValuesLabel="U [mm]")
strain = session.XYDataFromFile(name="strain", fileName=os.path.join(here, "data", "beam_tip.txt"),
                                xField=1, yField=3)
print(f"Read {tip.name!r} ({len(tip)} pairs; the header named it) and {strain.name!r};"
      f" {strain.contentDescription!r}")

# A report of both on one merged table, with totals and extremes, in engineering format.
options = session.xyReportOptions
options.setValues(numDigits=5, numberFormat=xyPlot.ENGINEERING, totals=True, minMax=True)
report = os.path.join(tempfile.mkdtemp(), "beam_tip_report.txt")
session.writeXYReport(fileName=report, xyData=(tip, "decay envelope"), appendMode=False)
with open(report) as f:
    lines = f.read().splitlines()
print(f"Report {report}: {len(lines)} lines; its first rows and its closing sections:")
for line in lines[:6] + ["          ..."] + [l for l in lines[-12:] if l.strip()]:
    print("   ", line)

# A plot of the tip displacement and its decay envelope; the axes are laid out automatically.
plot = session.XYPlot(name="beam tip")
plot.curveSet(xyData=(data["displacement"], data["decay envelope"]))
plot.setValues(curvesToPlot=("displacement", "decay envelope"))
plot.curves["decay envelope"].curveOptions.setValues(lineColor="Gray", lineStyle=DASHED)
axes = plot.xyPlotOptions
axes.setValues(numXAxisMinorTicks=4)
print(f"Plot {plot.name!r}: curves {plot.curvesToPlot}, x title {plot.systemDefinedXAxisTitle!r}")
for axis in ("x", "y"):
    lo, hi = getattr(axes, axis + "AxisAutoMinValue"), getattr(axes, axis + "AxisAutoMaxValue")
    step = axes.xAxisAutoMajorTickIncrement if axis == "x" else axes.yAxisMajorAutoTickIncrement
    ticks = axes.numXAxisMajorTicks if axis == "x" else axes.numYAxisMajorTicks
    print(f"  {axis}: data {lo:g} .. {hi:g}, major ticks every {step:g} ({ticks} between the ends)")

# A log scale cannot show the negative swings: the change is undone, and a callback hears of it.
def heard(query):
    print("  query fired:", query)


xyp.addQueryCallback(heard)
try:
    axes.setValues(yAxisScale=LOG)
except xyp.XyPlotError as e:
    print(f"Refused: {str(e)[:60]}... (code {e.code}); y scale still {axes.yAxisScale}")
xyp.removeQueryCallback(heard)

# Show the plot in the viewport and save what it shows.
viewport = session.viewports["Viewport: 1"]
viewport.setValues(displayedObject=plot)
# XYP_DEMO_OUT keeps the images in a folder of your choice.
images = os.environ.get("XYP_DEMO_OUT") or tempfile.mkdtemp()
for extension in ("png", "svg", "pdf"):
    path = os.path.join(images, "beam_tip." + extension)
    viewport.saveImage(fileName=path, width=800, height=600)
    print(f"Saved {path} ({os.path.getsize(path)} bytes)")

# A results file: the bundled sample (a plate, an impact step and a frequency sweep), written as
# an HDF5 file of our layout and opened again; h5py or any HDF5 tool reads the same file.
sample = xyp.odb.writeSample(os.path.join(images, "plate.h5"))
odb = session.openOdb(sample)
print(f"Opened {odb.path}: steps {odb.steps}; open databases {len(session.odbs)}")

# Its history outputs by label and legend, and two of them as XY data: the tip displacement over
# the impact, and its response over the sweep as magnitude and phase.
variables = odb.historyVariables
print(f"{len(variables)} history variables; the first three:")
for label in variables.keys()[:3]:
    print(f"   {label!r} (legend {variables[label].legendLabel!r}, steps "
          f"{[s[0] for s in variables[label].steps]})")
u2 = "Spatial displacement: U2 at Node 24"
impact = session.XYDataFromHistory(name="U2 impact", odb=odb, outputVariableName=u2,
                                   steps=("Impact",))
magnitude = session.XYDataFromHistory(name="U2 magnitude", odb=odb, outputVariableName=u2,
                                      steps=("Sweep",))
phase = session.XYDataFromHistory(name="U2 phase", odb=odb, outputVariableName=u2,
                                  steps=(2,), numericForm=PHASE)
print(f"{impact.name!r}: {len(impact)} pairs, {impact.xValuesLabel!r} against "
      f"{impact.yValuesLabel!r}; {phase.name!r}: {phase.yValuesLabel!r}")
history_plot = session.XYPlot(name="plate history")
history_plot.curveSet(xyData=(impact,))
history_plot.setValues(curvesToPlot=("U2 impact",))
viewport.setValues(displayedObject=history_plot)
path = os.path.join(images, "plate_history.png")
viewport.saveImage(fileName=path, width=800, height=600)
print(f"Saved {path} ({os.path.getsize(path)} bytes)")
history_report = os.path.join(images, "plate_history.txt")
session.writeXYReport(fileName=history_report, xyData=(magnitude, phase), appendMode=False)
with open(history_report) as f:
    print(f"Report {history_report}: " + " | ".join(f.read().splitlines()[:4]))
odb.close()

# Probing the beam-tip plot as a user does with the mouse: enter the probe mode, move over the
# curve and click three of its points, sort the selected values and write a probe report.
viewport.setValues(displayedObject=plot)
viewport.enterProbeMode()
for t in (0.5, 1.5, 0.25):
    x, y = viewport.plotPosition(x=t, y=math.exp(-0.4 * t) * math.cos(2 * math.pi * t))
    viewport.moveCursor(x=x, y=y)
    print(f"Under the cursor at t = {t}: {session.currentProbeValues.values}")
    viewport.click(x=x, y=y)
session.sendFormCommand(form="prbG_ProbeForm", values=("sort", "Y", probe.DESCENDING))
print("Selected, by Y descending:", [row[1:] for row in session.selectedProbeValues.values])
probe_report = os.path.join(images, "beam_tip_probe.txt")
session.sendFormCommand(form="prbG_ProbeForm",
                        values=("writeValuesToFile", probe_report, False, "Probe report written"))
with open(probe_report) as f:
    print(f"Probe report {probe_report}:\n" + "".join(f.readlines()[3:10]), end="")
session.leaveMode()

# Probing the sample's model: the plate drawn in the viewport at the impact's second frame, its
# elements' stresses at the integration points and then its nodes' displacements, each selected
# with a click and written as a probe report.
odb = session.openOdb(sample)
viewport.setValues(displayedObject=odb, step="Impact", frame=1, fieldVariable="S11")
path = os.path.join(images, "plate_model.png")
viewport.saveImage(fileName=path, width=800, height=600)
print(f"Saved {path} ({os.path.getsize(path)} bytes)")
session.probeOptions.setValues(probeEntity=probe.ELEMENTS,
                               probeOutputPosition=probe.INTEGRATION_POINT)
viewport.enterProbeMode()
for element in (1, 8, 15):
    x, y = viewport.modelPosition(instance="PLATE", element=element)
    viewport.moveCursor(x=x, y=y)
    viewport.click(x=x, y=y)
print("Elements selected:", [row[1:] for row in session.selectedProbeValues.values])
session.probeReport.setValues(printMinMax=True, printTotal=True)
for entity, name in ((probe.ELEMENTS, "plate_elements_probe.txt"),
                     (probe.NODES, "plate_nodes_probe.txt")):
    if entity == probe.NODES:
        viewport.setValues(fieldVariable="U2")  # nodal: the node cells show its values
        session.probeOptions.setValues(probeEntity=probe.NODES)
        for node in (6, 12, 24):
            x, y = viewport.modelPosition(instance="PLATE", node=node)
            viewport.moveCursor(x=x, y=y)
            viewport.click(x=x, y=y)
        print("Nodes selected:", [row[1:] for row in session.selectedProbeValues.values])
    report = os.path.join(images, name)
    session.sendFormCommand(form="prbG_ProbeForm",
                            values=("writeValuesToFile", report, False, "Probe report written"))
    with open(report) as f:
        print(f"Probe report {report}:\n" + "".join(f.readlines()[3:16]), end="")
session.leaveMode()
odb.close()

# A CalculiX job: a steel cantilever under a tip load applied suddenly at t = 0, solved with ccx
# (a modal dynamic step over its first ten modes), imported, and its tip deflection plotted with
# the kinetic energy as the beam swings about its static deflection.
deck = os.path.join(here, "..", "tests", "data", "calculix", "cantilever_dynamic.inp")
if not shutil.which("ccx"):
    print("ccx is not installed (scripts/setup.sh installs it): the CalculiX part is left out")
else:
    job_folder = tempfile.mkdtemp()
    shutil.copy(deck, os.path.join(job_folder, "cantilever.inp"))
    subprocess.run(["ccx", "cantilever"], cwd=job_folder, check=True, capture_output=True,
                   env=dict(os.environ, OMP_NUM_THREADS="1"))
    results = xyp.odb.fromCalculix(os.path.join(job_folder, "cantilever"))
    beam = session.openOdb(results)
    print(f"Solved and imported {results}: steps {beam.steps}, "
          f"{len(beam.historyVariables)} history variables")
    u2 = session.XYDataFromHistory(name="tip U2", odb=beam, steps=("Step-2",),
                                   outputVariableName="Spatial displacement: U2 at Node 513")
    kinetic = session.XYDataFromHistory(name="kinetic energy", odb=beam, steps=("Step-2",),
                                        outputVariableName="Kinetic energy: ALLKE in ELSET EALL")
    # One y axis for both: the deflection in hundredths of a millimetre, the energy in mJ.
    deflection = session.XYData(name="tip deflection", objectToCopy=-100.0 * u2)
    deflection.setValues(legendLabel="Tip deflection -U2 [0.01 mm]", xValuesLabel="Time [s]",
                         yValuesLabel="Deflection [0.01 mm], energy [mJ]")
    kinetic.setValues(legendLabel="Kinetic energy [mJ]", xValuesLabel="Time [s]")
    beam_plot = session.XYPlot(name="cantilever")
    beam_plot.curveSet(xyData=(deflection, kinetic))
    beam_plot.setValues(curvesToPlot=("tip deflection", "kinetic energy"))
    viewport.setValues(displayedObject=beam_plot)
    path = os.path.join(images, "cantilever_history.png")
    viewport.saveImage(fileName=path, width=800, height=600)
    print(f"Saved {path} ({os.path.getsize(path)} bytes)")
    beam_report = os.path.join(images, "cantilever_history.txt")
    session.writeXYReport(fileName=beam_report, xyData=(u2, kinetic), appendMode=False)
    with open(beam_report) as f:
        print(f"Report {beam_report}: " + " | ".join(f.read().splitlines()[:5]))
    labels, d2 = beam.fieldValues(step="Step-2", label="D2")
    print(f"Last frame: D2 at {len(labels)} nodes, tip {d2[list(labels).index(513)]:.4f} mm")
    beam.close()
