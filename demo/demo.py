"""A tour of what xyp does so far: XY data from typed pairs, listed, renamed and summarised.

Run with the xyp executable (session and xyPlot are predefined):
    build/xyp demo/demo.py
"""
import math

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
