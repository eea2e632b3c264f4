"""A browser view of the session's viewports, served on this machine: the page shows a viewport
as the renderer draws it, and probes it with the mouse. The current values follow the cursor, a
click selects them, and the page's table and buttons send the Probe Values dialog's commands.

Everything the page does goes through the same commands a script uses (viewport.moveCursor,
viewport.click, session.sendFormCommand, viewport.setValues), run in the interpreter's own
thread: the server's event loop runs there, and the kernel is never entered from another thread.

    server = xyp.view.ViewServer(xyp.session)    # or: xyp view [script.py]
    server.run()                                 # prints the address; Ctrl-C stops it

Safety: the server binds 127.0.0.1 unless told otherwise; every request needs the token that is
printed with the address; a websocket from another origin, or a request naming another host, is
refused; a report is written only under a plain file name inside the folder the server serves.
"""
import asyncio
import json
import os
import secrets
import sys

import xyp

FORM = "prbG_ProbeForm"
PAGE_FOLDER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "view_page")
PAGE_FILES = {"view.js": "text/javascript", "view.css": "text/css"}
PROBE_FLAGS = ("partInstance", "elementId", "elementType", "elementConnectivity",
               "elementFieldResults", "nodeId", "baseCoordinates", "deformedCoordinates",
               "attachedElements", "nodeFieldResults", "legend", "xValue", "yValue", "sequenceID",
               "interpolateXy")
REPORT_FIELDS = ("numColumns", "numDigits", "pageWidth", "numFormat", "printTotal", "printMinMax")
LARGEST_IMAGE = 16384


class Refused(ValueError):
    """A request the page made that the server does not carry out (the page shows the text)."""


def report_path(folder, name):
    """The path of a report named `name` in `folder`: a plain file name, nothing that leads out of
    the folder (no separators, no '..', no hidden name, no link)."""
    if not isinstance(name, str) or not name.strip():
        raise Refused("the report needs a file name")
    separators = {os.sep, os.altsep or os.sep, "\0"}
    if any(s in name for s in separators) or name in (".", "..") or name.startswith("."):
        raise Refused(f"{name!r} is not a plain file name in the served folder")
    path = os.path.join(folder, name)
    if os.path.islink(path):
        raise Refused(f"{name!r} is a link; the report is written only to plain files")
    return path


class ViewServer:
    """Serves one page on host:port; run() blocks until Ctrl-C (or stop())."""

    def __init__(self, session=None, folder=None, host="127.0.0.1", port=0, token=None,
                 out=None):
        self.session = session or xyp.session
        self.folder = os.path.realpath(folder or os.getcwd())
        self.host, self.port = host, port
        self.token = token or secrets.token_urlsafe(24)
        self.out = out or sys.stdout
        self.viewport = self._first_viewport()
        self.sockets = set()
        self.version = 0   # counts the changes of what the viewports show
        self._stop = None
        self.url = None

    # -- the session side: every call runs in the loop's (the interpreter's) thread -------------

    def _first_viewport(self):
        names = sorted(self.session.viewports.keys())
        shown = [n for n in names if self.session.viewports[n].displayedObject is not None]
        return (shown or names)[0]

    def _vp(self):
        return self.session.viewports[self.viewport]

    def _heard(self, name):
        # A query fires inside the command that changed something: the pages redraw afterwards.
        if name.startswith(("session.xyPlots", "session.viewports", "session.xyDataObjects")):
            self._changed()

    def _changed(self):
        self.version += 1
        loop = asyncio.get_event_loop()
        loop.call_soon(lambda: asyncio.ensure_future(self._broadcast({"type": "redraw", "push": True,
                                                                       "version": self.version})))

    def _probing(self):
        vp = self._vp()
        if vp.displayedObject is None:
            return "The viewport shows nothing to probe"
        if self.session.currentMode != "prbK_ProbeProc":
            try:
                vp.enterProbeMode()
            except xyp.Error as e:
                return str(e)
        return None

    def _state(self):
        options = self.session.probeOptions
        report = self.session.probeReport
        vp = self._vp()
        return {
            "type": "state", "viewports": sorted(self.session.viewports.keys()),
            "viewport": self.viewport, "width": vp.width, "height": vp.height,
            "version": self.version, "error": self._probing(),
            "probeEntity": options.probeEntity.name,
            "probeOutputPosition": options.probeOutputPosition.name,
            "flags": {f: getattr(options, f) for f in PROBE_FLAGS},
            "report": {f: (v.name if isinstance(v, xyp.SymbolicConstant) else v)
                       for f, v in ((f, getattr(report, f)) for f in REPORT_FIELDS)},
            **self._selected(),
        }

    def _selected(self):
        values = self.session.selectedProbeValues
        rows = [list(r) for r in values.values if any(r)]
        return {"titles": list(values.header), "sortable": list(values.sortHeader), "rows": rows}

    # The page counts pixels from the image's top left corner, the viewport from its bottom left.
    def _to_viewport(self, x, y):
        return x, self._vp().height - y

    def _to_page(self, pixel):
        return [pixel[0], self._vp().height - pixel[1]]

    def _highlight(self, row, titles):
        # The pixel of the probed point, from its X and Y cells (drawn by the page, over the image).
        try:
            x, y = float(row[titles.index("X")]), float(row[titles.index("Y")])
            return self._to_page(self._vp().plotPosition(x=x, y=y))
        except (ValueError, IndexError, xyp.Error):
            return None

    def _form(self, *values):
        self.session.sendFormCommand(form=FORM, values=values)

    def handle(self, message):
        """Carries out one message of the page; returns the answer to send back."""
        kind = message.get("type")
        if kind == "hello":
            return self._state()
        if kind == "viewport":
            name = message.get("name")
            if name not in self.session.viewports.keys():
                raise Refused(f"there is no viewport {name!r}")
            if name != self.viewport and self.session.currentMode:
                self.session.leaveMode()
            self.viewport = name
            return self._state()
        if kind == "size":
            width, height = (int(message.get(k, 0)) for k in ("width", "height"))
            if not (1 <= width <= LARGEST_IMAGE and 1 <= height <= LARGEST_IMAGE):
                raise Refused(f"the image area of {width} x {height} pixels cannot be drawn")
            vp = self._vp()
            if (vp.width, vp.height) != (width, height):
                vp.setValues(width=width, height=height)
                self.version += 1
            return {"type": "redraw", "version": self.version}
        if kind in ("move", "click"):
            error = self._probing()
            if error:
                return {"type": "error", "text": error}
            x, y = self._to_viewport(float(message["x"]), float(message["y"]))
            vp = self._vp()
            if kind == "move":
                vp.moveCursor(x=x, y=y)
                row = list(self.session.currentProbeValues.values)
                titles = list(self.session.selectedProbeValues.header)
                return {"type": "current", "seq": message.get("seq"), "values": row,
                        "titles": titles, "highlight": self._highlight(row, titles) if any(row)
                        else None}
            vp.click(x=x, y=y)
            return {"type": "selected", **self._selected()}
        if kind == "plotPosition":  # where a data point is drawn (for scripts driving the page)
            return {"type": "plotPosition", "seq": message.get("seq"),
                    "pixel": self._to_page(self._vp().plotPosition(x=float(message["x"]),
                                                                   y=float(message["y"])))}
        if kind == "sort":
            direction = xyp.DESCENDING if message.get("descending") else xyp.ASCENDING
            self._form("sort", str(message["title"]), direction)
        elif kind == "undo":
            self._form("undo")
        elif kind == "clear":
            rows = tuple(int(r) for r in message.get("rows", ()))
            self._form("clearValues", rows)
        elif kind == "write":
            path = report_path(self.folder, message.get("fileName"))
            self._form("writeValuesToFile", path, bool(message.get("append")),
                       "Probe values written to " + os.path.basename(path))
            return {"type": "written", "fileName": os.path.basename(path), **self._selected()}
        elif kind == "probeOptions":
            options = self.session.probeOptions
            entity = getattr(xyp, str(message.get("probeEntity", options.probeEntity.name)))
            position = getattr(xyp, str(message.get("probeOutputPosition",
                                                    options.probeOutputPosition.name)))
            flags = message.get("flags", {})
            self._form("probeOptions", entity, position,
                       *(bool(flags.get(f, getattr(options, f))) for f in PROBE_FLAGS))
            return self._state()
        elif kind == "probeReport":
            report = self.session.probeReport
            fields = message.get("report", {})

            def value(name):
                v = fields.get(name, getattr(report, name))
                return getattr(xyp, v) if isinstance(v, str) else v
            self._form("probeReport", xyp.ASCENDING, int(value("numColumns")),
                       int(value("numDigits")), value("pageWidth"), value("numFormat"),
                       bool(value("printTotal")), bool(value("printMinMax")))
            return self._state()
        else:
            raise Refused(f"unknown request {kind!r}")
        return {"type": "selected", **self._selected()}

    def image(self, name):
        # The renderer of saveImage, at the viewport's size, in memory.
        return self.session.viewports[name]._repr_png_()

    # -- the web side ------------------------------------------------------------------------

    def _allowed_hosts(self):
        return {f"{h}:{self.port}" for h in (self.host, "127.0.0.1", "localhost")}

    def _open_to_all(self):
        # Bound to every address (--host 0.0.0.0): any name may reach it; the token still holds.
        return self.host in ("0.0.0.0", "::", "")

    def _check(self, request):
        from aiohttp import web
        if not self._open_to_all() and request.host not in self._allowed_hosts():
            raise web.HTTPForbidden(text="this server answers only to its own address")
        given = request.query.get("token", "")
        if not secrets.compare_digest(given.encode(), self.token.encode()):
            raise web.HTTPForbidden(text="this page needs the token that xyp view printed")

    async def _page(self, request):
        from aiohttp import web
        self._check(request)
        with open(os.path.join(PAGE_FOLDER, "index.html"), encoding="utf-8") as f:
            page = f.read().replace("{{token}}", self.token)  # the page's own requests
        return web.Response(text=page, content_type="text/html",
                            headers={"Cache-Control": "no-store",
                                     "Content-Security-Policy": "default-src 'self'; "
                                     "img-src 'self' blob:; connect-src 'self'"})

    async def _static(self, request):
        from aiohttp import web
        self._check(request)
        name = request.match_info["name"]
        if name not in PAGE_FILES:
            raise web.HTTPNotFound()
        with open(os.path.join(PAGE_FOLDER, name), encoding="utf-8") as f:
            return web.Response(text=f.read(), content_type=PAGE_FILES[name])

    async def _image(self, request):
        from aiohttp import web
        self._check(request)
        name = request.query.get("viewport", self.viewport)
        if name not in self.session.viewports.keys():
            raise web.HTTPNotFound(text=f"there is no viewport {name!r}")
        return web.Response(body=self.image(name), content_type="image/png",
                            headers={"Cache-Control": "no-store"})

    async def _socket(self, request):
        from aiohttp import web, WSMsgType
        self._check(request)
        origin = request.headers.get("Origin", "")
        # The page's own origin: the address it was loaded from (checked above).
        allowed = {"http://" + h for h in self._allowed_hosts()}
        if self._open_to_all():
            allowed.add("http://" + request.host)
        if origin not in allowed:
            raise web.HTTPForbidden(text="websocket from another origin")
        ws = web.WebSocketResponse(max_msg_size=1 << 20)
        await ws.prepare(request)
        self.sockets.add(ws)
        try:
            async for msg in ws:
                if msg.type != WSMsgType.TEXT:
                    continue
                try:
                    message = json.loads(msg.data)
                    if not isinstance(message, dict):
                        raise Refused("a request is a JSON object")
                    answer = self.handle(message)
                except (Refused, xyp.Error, TypeError, ValueError, KeyError) as e:
                    answer = {"type": "error", "text": str(e)}
                await ws.send_str(json.dumps(answer))
        finally:
            self.sockets.discard(ws)
        return ws

    async def _broadcast(self, message):
        text = json.dumps(message)
        for ws in list(self.sockets):
            if not ws.closed:
                await ws.send_str(text)

    def application(self):
        from aiohttp import web
        app = web.Application()
        app.router.add_get("/", self._page)
        app.router.add_get("/page/{name}", self._static)
        app.router.add_get("/image", self._image)
        app.router.add_get("/ws", self._socket)
        return app

    async def serve(self, ready=None):
        """Serves until stop(); `ready(url)` is called once the socket listens."""
        from aiohttp import web
        runner = web.AppRunner(self.application(), access_log=None)
        await runner.setup()
        site = web.TCPSite(runner, self.host, self.port)
        await site.start()
        self.port = site._server.sockets[0].getsockname()[1]
        self.url = f"http://{self.host}:{self.port}/?token={self.token}"
        self._stop = asyncio.Event()
        xyp.addQueryCallback(self._heard)
        try:
            if ready:
                ready(self.url)
            await self._stop.wait()
        finally:
            xyp.removeQueryCallback(self._heard)
            for ws in list(self.sockets):
                await ws.close()
            await runner.cleanup()

    def stop(self):
        if self._stop:
            self._stop.set()

    def run(self):
        """Serves until Ctrl-C, printing the address to open."""
        def announce(url):
            print(f"xyp view: serving {self.folder}\n    {url}\n(Ctrl-C stops)", file=self.out,
                  flush=True)
        try:
            asyncio.run(self.serve(announce))
        except KeyboardInterrupt:
            print("xyp view: stopped", file=self.out, flush=True)


def main(argv):
    """xyp view [--host H] [--port P] [script.py [args...]]: runs the script, then serves."""
    import argparse
    import runpy
    parser = argparse.ArgumentParser(prog="xyp view", description=main.__doc__.split(":")[1])
    parser.add_argument("--host", default="127.0.0.1",
                        help="address to bind (default 127.0.0.1; anything else lets other "
                        "machines reach the session: unsafe)")
    parser.add_argument("--port", type=int, default=0, help="port (default: any free one)")
    parser.add_argument("script", nargs="?", help="a script run before serving")
    parser.add_argument("args", nargs=argparse.REMAINDER)
    options = parser.parse_args(argv)
    if options.script:
        names = xyp.script_namespace()
        sys.argv = [options.script, *options.args]
        sys.path.insert(0, os.path.dirname(os.path.abspath(options.script)))
        runpy.run_path(options.script, init_globals=names, run_name="__main__")
    ViewServer(xyp.session, host=options.host, port=options.port).run()
    return 0

