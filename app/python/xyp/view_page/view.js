// The page of xyp view: shows a viewport, sends mouse moves (at most one per frame, one at a
// time) and clicks to the server's probe, and the Probe Values dialog's commands from its table
// and buttons. The server answers every request in order; messages it sends unasked carry push.
"use strict";

const token = new URLSearchParams(location.search).get("token") || "";
const $ = (id) => document.getElementById(id);
const image = $("image"), overlay = $("overlay"), area = $("area");
const socket = new WebSocket(`ws://${location.host}/ws?token=${encodeURIComponent(token)}`);
const waiting = [];          // resolvers of the requests sent, in order
let state = null;            // the server's last full state
let directions = {};         // sort direction per column title, toggled by its header
let pendingMove = null;      // the latest mouse position not yet sent
let moveInFlight = false;
let shownVersion = -1;

// What a test (or a curious user at the console) reads and calls.
window.xypView = {
  latencies: [],             // ms from a mouse event to its values shown, per move answered
  ready: false,
  imageVersion: -1,
  request,
  plotPosition: (x, y) => request({type: "plotPosition", x, y}).then((m) => m.pixel),
};

function request(message) {
  return new Promise((resolve) => {
    waiting.push(resolve);
    socket.send(JSON.stringify(message));
  });
}

function status(text, fine) {
  $("status").textContent = text || "";
  $("status").className = fine ? "fine" : "";
}

socket.onmessage = (event) => {
  const message = JSON.parse(event.data);
  if (message.push) {
    if (message.type === "redraw") loadImage(message.version);
    return;
  }
  const resolve = waiting.shift();
  if (message.type === "error") status(message.text);
  else status(state && state.error);
  if (message.type === "state") showState(message);
  if (message.type === "selected" || message.type === "written") showSelected(message);
  if (message.type === "written") status(`written to ${message.fileName}`, true);
  if (message.type === "redraw") loadImage(message.version);
  if (resolve) resolve(message);
};
socket.onclose = () => status("the server has stopped");
// Ready once the image drawn at the page's own size is shown: positions asked before that
// would be those of the first image, drawn at the viewport's old size.
let sizedVersion = null;
function markReady() {
  if (sizedVersion !== null && window.xypView.imageVersion >= sizedVersion) {
    window.xypView.ready = true;
  }
}
socket.onopen = () => request({type: "hello"}).then(() => sendSize()).then((m) => {
  sizedVersion = m.type === "redraw" ? m.version : -1;  // refused: the first image stands
  markReady();
});

function showState(s) {
  state = s;
  const select = $("viewport");
  select.replaceChildren(...s.viewports.map((name) => new Option(name, name, false,
                                                                 name === s.viewport)));
  const flags = $("probeOptions");
  flags.replaceChildren(...Object.entries(s.flags).map(([name, on]) => {
    const label = document.createElement("label");
    const box = Object.assign(document.createElement("input"), {type: "checkbox", name,
                                                                 checked: on});
    label.append(box, " " + name);
    return label;
  }), Object.assign(document.createElement("button"), {textContent: "Apply"}));
  const report = $("probeReport");
  for (const [name, value] of Object.entries(s.report)) {
    const field = report.elements[name];
    if (field.type === "checkbox") field.checked = value;
    else field.value = value;
  }
  status(s.error);
  showSelected(s);
  loadImage(s.version);
}

function fillTable(table, titles, rows, sortable, withChoice) {
  const head = document.createElement("tr");
  if (withChoice) head.append(document.createElement("th"));
  for (const title of titles) {
    const th = Object.assign(document.createElement("th"), {textContent: title});
    if (sortable && sortable.includes(title)) {
      th.className = "sortable " + (directions[title] || "");
      th.onclick = () => sortBy(title);
    }
    head.append(th);
  }
  table.tHead.replaceChildren(head);
  table.tBodies[0].replaceChildren(...rows.map((row, i) => {
    const tr = document.createElement("tr");
    if (withChoice) {
      const td = document.createElement("td");
      td.append(Object.assign(document.createElement("input"), {type: "checkbox",
                                                                 value: i + 1}));
      tr.append(td);
    }
    for (const cell of row) tr.append(Object.assign(document.createElement("td"),
                                                    {textContent: cell}));
    return tr;
  }));
}

function showSelected(m) {
  fillTable($("selected"), m.titles, m.rows, m.sortable, true);
}

function showCurrent(m, sentAt) {
  fillTable($("current"), m.titles, m.values.some((c) => c) ? [m.values] : [], null, false);
  const g = overlay.getContext("2d");
  g.clearRect(0, 0, overlay.width, overlay.height);
  if (m.highlight) {
    g.strokeStyle = "#e00000";
    g.lineWidth = 2;
    g.beginPath();
    g.arc(m.highlight[0], m.highlight[1], 6, 0, 2 * Math.PI);
    g.stroke();
  }
  window.xypView.latencies.push(performance.now() - sentAt);
}

function loadImage(version) {
  if (!state || version === shownVersion) return;
  shownVersion = version;
  const url = `image?token=${encodeURIComponent(token)}&viewport=` +
              `${encodeURIComponent(state.viewport)}&v=${version}`;
  const next = new Image();
  next.onload = () => {
    image.src = next.src;
    overlay.width = next.naturalWidth;
    overlay.height = next.naturalHeight;
    window.xypView.imageVersion = version;
    markReady();
  };
  next.src = url;
}

let resizeTimer = null;
function sendSize() {
  const width = Math.max(1, Math.floor(area.clientWidth));
  const height = Math.max(1, Math.floor(area.clientHeight));
  return request({type: "size", width, height});
}
new ResizeObserver(() => {
  clearTimeout(resizeTimer);
  resizeTimer = setTimeout(() => socket.readyState === 1 && sendSize(), 150);
}).observe(area);

image.addEventListener("mousemove", (e) => {
  pendingMove = {x: e.offsetX, y: e.offsetY, at: performance.now()};
});
function pump() {
  if (pendingMove && !moveInFlight && socket.readyState === 1) {
    const move = pendingMove;
    pendingMove = null;
    moveInFlight = true;
    request({type: "move", x: move.x, y: move.y}).then((m) => {
      moveInFlight = false;
      if (m.type === "current") showCurrent(m, move.at);
    });
  }
  requestAnimationFrame(pump);
}
requestAnimationFrame(pump);

image.addEventListener("click", (e) => request({type: "click", x: e.offsetX, y: e.offsetY}));

function sortBy(title) {
  const descending = directions[title] === "ascending";
  directions = {[title]: descending ? "descending" : "ascending"};
  request({type: "sort", title, descending});
}

// Undo and clear leave an order no header shows.
$("undo").onclick = () => { directions = {}; request({type: "undo"}); };
$("clearAll").onclick = () => { directions = {}; request({type: "clear", rows: []}); };
$("clearSelected").onclick = () => {
  const rows = [...$("selected").querySelectorAll("tbody input:checked")].map((b) => +b.value);
  if (rows.length) request({type: "clear", rows});
};
$("write").onsubmit = (e) => {
  e.preventDefault();
  request({type: "write", fileName: $("fileName").value, append: $("append").checked});
};
$("viewport").onchange = (e) => request({type: "viewport", name: e.target.value})
    .then(() => sendSize());
$("probeOptions").onsubmit = (e) => {
  e.preventDefault();
  const flags = {};
  for (const box of e.target.querySelectorAll("input")) flags[box.name] = box.checked;
  request({type: "probeOptions", flags});
};
$("probeReport").onsubmit = (e) => {
  e.preventDefault();
  const f = e.target.elements, report = {};
  for (const name of ["numColumns", "numDigits"]) report[name] = +f[name].value;
  for (const name of ["pageWidth", "numFormat"]) report[name] = f[name].value;
  for (const name of ["printTotal", "printMinMax"]) report[name] = f[name].checked;
  request({type: "probeReport", report});
};
