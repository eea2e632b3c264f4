"""Drives `xyp view` in headless Chromium (Debian's chromium and chromium-driver, through
selenium): starts the server on a script, opens its page, moves and clicks the real mouse."""
import os
import re
import signal
import subprocess
import sys
import time

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"


def available():
    try:
        import selenium  # noqa: F401
        import aiohttp  # noqa: F401
    except ImportError:
        return False
    return os.access(CHROMIUM, os.X_OK) and os.access(CHROMEDRIVER, os.X_OK)


class ViewProcess:
    """`xyp view script` in a folder, until stop(); url is the address it printed."""

    def __init__(self, script, folder, exe=None):
        exe = exe or os.environ.get("XYP_EXE")
        command = [exe, "view", str(script)] if exe else \
            [sys.executable, "-c", "import sys, xyp.view; sys.exit(xyp.view.main(sys.argv[1:]))",
             str(script)]
        self.process = subprocess.Popen(command, cwd=folder, stdout=subprocess.PIPE,
                                        stderr=subprocess.PIPE, text=True)
        self.url = None
        deadline = time.monotonic() + 120
        lines = []
        while time.monotonic() < deadline:
            line = self.process.stdout.readline()
            if not line:
                break
            lines.append(line)
            found = re.search(r"http://\S+\?token=\S+", line)
            if found:
                self.url = found.group(0)
                return
        self.process.kill()
        raise RuntimeError("xyp view printed no address:\n" + "".join(lines) +
                           self.process.stderr.read())

    @property
    def base(self):
        return self.url.split("/?")[0]

    @property
    def token(self):
        return self.url.split("token=")[1]

    def stop(self):
        """Ctrl-C, as a user stops it; returns (exit status, the rest of stdout, stderr)."""
        self.process.send_signal(signal.SIGINT)
        out, err = self.process.communicate(timeout=60)
        return self.process.returncode, out, err


def open_browser(width=1400, height=800):
    from selenium import webdriver
    from selenium.webdriver.chrome.options import Options
    from selenium.webdriver.chrome.service import Service
    options = Options()
    options.binary_location = CHROMIUM
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                     f"--window-size={width},{height}"):
        options.add_argument(argument)
    return webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)


def wait_for(driver, script, timeout=60):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = driver.execute_script(script)
        if value:
            return value
        time.sleep(0.05)
    raise TimeoutError(script)


def load(driver, url):
    driver.get(url)
    wait_for(driver, "return window.xypView && window.xypView.ready")


def call(driver, expression):
    """Evaluates a promise-valued expression of the page and returns its result."""
    return driver.execute_async_script(
        "const done = arguments[arguments.length - 1];"
        f"Promise.resolve({expression}).then(done, (e) => done('error: ' + e));")


def move_to(driver, x, y, click=False):
    """The real mouse onto pixel (x, y) of the image, counted from its top left corner."""
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.by import By
    image = driver.find_element(By.ID, "image")
    size = image.size
    actions = ActionChains(driver, duration=0).move_to_element_with_offset(
        image, x - size["width"] / 2, y - size["height"] / 2)
    (actions.click() if click else actions).perform()


def table(driver, table_id):
    """The rows of a table of the page as lists of texts (header row first)."""
    return driver.execute_script(
        f"return [...document.getElementById('{table_id}').rows].map("
        "(r) => [...r.cells].map((c) => c.textContent))")
