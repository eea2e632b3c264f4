"""Reading what a program writes to a pseudo-terminal."""
import os
import select
import time


def read_until(fd, marker=None, seen=b"", start=0, seconds=60):
    """Reads fd until marker is in seen[start:] (with no marker: until the other end closes);
    returns all that was read."""
    deadline = time.monotonic() + seconds
    while (marker is None or marker not in seen[start:]) and time.monotonic() < deadline:
        if select.select([fd], [], [], 0.5)[0]:
            try:
                chunk = os.read(fd, 4096)
            except OSError:  # the other end closed
                break
            if not chunk:
                break
            seen += chunk
    return seen
