"""xyp view: the browser page that probes a viewport with the mouse, driven in real headless
Chromium; and what the server refuses."""
import json
import math
import os
import textwrap
import urllib.error
import urllib.request

import pytest

import view_browser

pytestmark = [pytest.mark.heavy,
              pytest.mark.skipif(not view_browser.available(),
                                 reason="needs chromium, chromium-driver, selenium and aiohttp")]

SCRIPT = """\
    import math
    session.XYData(name="sine", data=[(i * 0.1, math.sin(i * 0.1)) for i in range(101)])
    session.XYData(name="line", data=((0, -1), (10, 1)))
    plot = session.XYPlot(name="p")
    plot.curveSet(xyData=(session.xyDataObjects["sine"], session.xyDataObjects["line"]))
    plot.setValues(curvesToPlot=("sine", "line"))
    session.viewports["Viewport: 1"].setValues(displayedObject=plot)
    """


@pytest.fixture
def served(tmp_path):
    script = tmp_path / "plot.py"
    script.write_text(textwrap.dedent(SCRIPT))
    server = view_browser.ViewProcess(script, tmp_path)
    yield server
    if server.process.poll() is None:
        server.stop()


def status_of(url, headers=None):
    try:
        with urllib.request.urlopen(urllib.request.Request(url, headers=headers or {})) as r:
            return r.status
    except urllib.error.HTTPError as e:
        return e.code


def socket_answers(served, messages, origin=None):
    """Sends messages over the page's websocket; the answers, or the refusal's HTTP status."""
    import asyncio
    import aiohttp

    async def talk():
        async with aiohttp.ClientSession() as client:
            try:
                async with client.ws_connect(
                        f"{served.base}/ws?token={served.token}",
                        headers={"Origin": origin or served.base}) as ws:
                    answers = []
                    for m in messages:
                        await ws.send_str(json.dumps(m))
                        answers.append(json.loads((await ws.receive()).data))
                    return answers
            except aiohttp.WSServerHandshakeError as e:
                return e.status
    return asyncio.run(talk())


def test_the_server_answers_only_its_own_page(served, tmp_path):
    assert status_of(served.url) == 200
    assert status_of(served.base + "/") == 403
    assert status_of(served.base + "/?token=" + "x" * len(served.token)) == 403
    assert status_of(f"{served.base}/image?token={served.token}") == 200
    assert status_of(served.url, {"Host": "example.com"}) == 403  # a name that rebinds to us
    assert socket_answers(served, [{"type": "hello"}], origin="http://example.com") == 403
    refused = socket_answers(served, [{"type": "write", "fileName": name} for name in
                                      ("../probe.rpt", "/tmp/probe.rpt", ".hidden", "a/b", "")])
    assert all(a["type"] == "error" for a in refused), refused
    # The probe and report options of the page are the dialog's, and what the state shows.
    hello, options, report = socket_answers(served, [
        {"type": "hello"}, {"type": "probeOptions", "flags": {"sequenceID": False}},
        {"type": "probeReport", "report": {"numDigits": 3, "printMinMax": True}}])
    assert hello["flags"]["sequenceID"] and hello["titles"] == ["Legend", "Sequence ID", "X", "Y"]
    assert not options["flags"]["sequenceID"]
    assert report["report"]["numDigits"] == 3
    assert sorted(os.listdir(tmp_path)) == ["plot.py"]
    status, out, _ = served.stop()
    assert status == 0 and "stopped" in out


def test_probing_with_the_mouse(served, tmp_path):
    driver = view_browser.open_browser()
    try:
        view_browser.load(driver, served.url)
        x, y = view_browser.call(driver, f"xypView.plotPosition(5.0, {math.sin(5.0)})")
        view_browser.move_to(driver, x, y)
        view_browser.wait_for(driver, "return document.querySelector('#current tbody tr')")
        current = view_browser.table(driver, "current")
        assert current[0] == ["Legend", "Sequence ID", "X", "Y"]
        assert current[1][:3] == ["sine", "51", "5"]
        assert float(current[1][3]) == pytest.approx(math.sin(5.0), rel=1e-6)
        assert driver.execute_script("return xypView.latencies.length") >= 1
        # Two clicks with the mouse: the line's point nearest x = 2 (its first pair, x = 0), then
        # the sine's at x = 5.
        lx, ly = view_browser.call(driver, "xypView.plotPosition(2.0, -0.6)")
        view_browser.move_to(driver, lx, ly, click=True)
        view_browser.wait_for(driver, "return document.querySelector('#selected tbody tr')")
        view_browser.move_to(driver, x, y, click=True)
        view_browser.wait_for(driver,
                              "return document.querySelectorAll('#selected tbody tr').length == 2")
        rows = view_browser.table(driver, "selected")[1:]
        assert [(r[1], r[3]) for r in rows] == [("line", "0"), ("sine", "5")]
        # Sort by X descending (the header's second click), then undo that sort.
        header_x = "[...document.querySelectorAll('#selected th')].find((t) => t.textContent == 'X')"
        for direction in ("ascending", "descending"):
            driver.execute_script(header_x + ".click()")
            view_browser.wait_for(driver, f"return {header_x}.classList.contains('{direction}')")
        first = "return document.querySelector('#selected tbody td + td').textContent == "
        view_browser.wait_for(driver, first + "'sine'")
        assert view_browser.table(driver, "selected")[1:] == rows[::-1]
        driver.find_element("id", "undo").click()
        view_browser.wait_for(driver, first + "'line'")
        assert view_browser.table(driver, "selected")[1:] == rows
        # The report, under a plain name in the served folder.
        driver.find_element("id", "fileName").send_keys("probe.rpt")
        driver.find_element("css selector", "#write button").click()
        report = tmp_path / "probe.rpt"
        view_browser.wait_for(driver, "return document.getElementById('status').textContent"
                              ".startsWith('written')")
        text = report.read_text()
        assert text.startswith("*" * 80 + "\nProbe Values Report, written on ")
        assert "   XYPlot: p\n" in text
        assert text.count("sine") == 1 and text.count("line") == 1
        # The viewport follows the page's image area.
        driver.set_window_size(1100, 700)
        view_browser.wait_for(driver, "return image.naturalWidth == area.clientWidth && "
                              "image.naturalHeight == area.clientHeight && "
                              "image.naturalWidth < 900")
        shot = os.environ.get("XYP_VIEW_SCREENSHOT", str(tmp_path / "view.png"))
        assert driver.save_screenshot(shot)
    finally:
        driver.quit()
