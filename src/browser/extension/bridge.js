// SitePins bridge: keeps a native-messaging port open to SitePinsBridge for
// as long as the browser runs, and answers the program's requests through
// it: list the windows and their tabs, open a window, close a tab.
//
// The copy the program writes when it integrates with the browsers also
// has a toolbar button and a page menu entry (named in _locales): either
// sends the page the user is on to the host, which gives it to the program.
//
// The same script serves Chromium and Chrome (a Manifest V3 service worker)
// and Firefox (a Manifest V2 background script).
"use strict";

const api = globalThis.browser ?? globalThis.chrome;

const kHostName = "org.sitepins.bridge";
const kReconnectDelayMs = 1000;
// The host takes at most 1 MiB per message and the program as much in a
// reply; a page's own text must not make the list too long for either.
const kMaxTitleLength = 1024;
const kMaxUrlLength = 32 * 1024;
const kMaxListSize = 900 * 1024;

let port = null;
let reconnectTimer = null;

function connect() {
  if (port !== null)
    return;
  let opened;
  try {
    opened = api.runtime.connectNative(kHostName);
  } catch (error) {
    scheduleReconnect();
    return;
  }
  port = opened;
  opened.onMessage.addListener((message) => handleHostMessage(opened, message));
  opened.onDisconnect.addListener(() => {
    // Read, so that Chromium does not log a missing or failed host as an
    // unchecked error at every retry.
    void api.runtime.lastError;
    if (port === opened)
      port = null;
    scheduleReconnect();
  });
  post(opened, { event: "hello", extension: api.runtime.id, userAgent: navigator.userAgent });
  reportFocusedWindow(opened);
}

// The host ends when its port closes (the browser quit it, or it crashed):
// a new one is started shortly, so the program finds the browser again.
function scheduleReconnect() {
  if (reconnectTimer !== null)
    return;
  reconnectTimer = setTimeout(() => {
    reconnectTimer = null;
    connect();
  }, kReconnectDelayMs);
}

function post(target, message) {
  try {
    target.postMessage(message);
  } catch (error) {
    // The port closed meanwhile; onDisconnect reconnects.
  }
}

async function handleHostMessage(source, message) {
  if (message === null || typeof message !== "object" || typeof message.id !== "number")
    return;
  let reply;
  try {
    reply = Object.assign({ id: message.id, ok: true }, await run(message));
  } catch (error) {
    reply = { id: message.id, ok: false, error: String((error && error.message) || error) };
  }
  post(source, reply);
}

async function run(request) {
  switch (request.cmd) {
    case "list":
      return listWindows();
    case "open":
      return openWindow({ url: request.url });
    case "openBlank":
      return openWindow({});
    case "close":
      await api.tabs.remove(request.tabId);
      return {};
    default:
      throw new Error("unknown command " + request.cmd);
  }
}

function bounded(text, limit) {
  return typeof text === "string" && text.length <= limit ? text : "";
}

// Windows in the browser's order, each one's tabs in tab order.
async function listWindows() {
  const windows = await api.windows.getAll({ populate: true });
  let size = 0;
  let truncated = false;
  const listed = [];
  for (const window of windows) {
    const tabs = [];
    for (const tab of (window.tabs || []).slice().sort((a, b) => a.index - b.index)) {
      const entry = {
        id: tab.id,
        url: bounded(tab.url || tab.pendingUrl, kMaxUrlLength),
        title: String(tab.title || "").slice(0, kMaxTitleLength),
        active: tab.active === true,
      };
      size += entry.url.length + entry.title.length + 64;
      if (size > kMaxListSize) {
        truncated = true;
        break;
      }
      tabs.push(entry);
    }
    listed.push({ id: window.id, focused: window.focused === true, tabs });
    if (truncated)
      break;
  }
  return { windows: listed, truncated };
}

async function openWindow(createData) {
  const window = await api.windows.create(createData);
  const tab = window.tabs && window.tabs[0];
  return { windowId: window.id, tabId: tab ? tab.id : -1 };
}

// Which browser the user used last decides where the program opens pages.
function reportFocus(target, windowId) {
  if (windowId !== api.windows.WINDOW_ID_NONE)
    post(target, { event: "focus", at: Date.now() });
}

async function reportFocusedWindow(target) {
  try {
    const window = await api.windows.getLastFocused();
    if (window && window.focused)
      reportFocus(target, window.id);
  } catch (error) {
    // No window yet.
  }
}

const kCaptureId = "create-sitepin";
const kHotIconMs = 1500;
const actionApi = api.action ?? api.browserAction;
const kMenuText = api.i18n.getMessage("menuText");
const isIntegrated = Boolean(actionApi && api.contextMenus && kMenuText);

function iconSet(name) {
  return { 16: `icons/${name}-16.png`, 32: `icons/${name}-32.png` };
}

// The button shows its hot icon for a moment: the click was taken.
function showHotIcon() {
  Promise.resolve(actionApi.setIcon({ path: iconSet("hot") }))
    .then(() => new Promise((resolve) => setTimeout(resolve, kHotIconMs)))
    .then(() => actionApi.setIcon({ path: iconSet("icon") }))
    .catch(() => {});
}

async function tabOrActive(tab) {
  if (tab && tab.url)
    return tab;
  const [active] = await api.tabs.query({ active: true, lastFocusedWindow: true });
  return active;
}

async function capturePage(tab, pageUrl) {
  const shown = await tabOrActive(tab);
  const url = pageUrl || (shown && shown.url) || "";
  if (!url)
    return;
  showHotIcon();
  connect();
  if (port !== null)
    post(port, { event: "capture", url, title: String((shown && shown.title) || "").slice(0, kMaxTitleLength) });
}

function captureFromButton(tab) {
  return capturePage(tab);
}

function captureFromMenu(info, tab) {
  if (info.menuItemId === kCaptureId)
    return capturePage(tab, info.pageUrl);
}

function captureFromCommand(command, tab) {
  if (command === kCaptureId)
    return capturePage(tab);
}

// Made anew at each start: the browser may keep entries of an older copy.
function createCaptureEntry() {
  Promise.resolve(api.contextMenus.removeAll())
    .then(() => {
      api.contextMenus.create({ id: kCaptureId, title: kMenuText, contexts: ["page"] }, () => {
        void api.runtime.lastError;
      });
    })
    .catch(() => {});
}

// Registered at the top level, so that each of these wakes a stopped
// service worker, which then connects again.
if (isIntegrated) {
  actionApi.onClicked.addListener(captureFromButton);
  api.contextMenus.onClicked.addListener(captureFromMenu);
  if (api.commands)
    api.commands.onCommand.addListener(captureFromCommand);
  createCaptureEntry();
}
api.windows.onFocusChanged.addListener((windowId) => {
  if (port !== null)
    reportFocus(port, windowId);
});
api.runtime.onStartup.addListener(connect);
api.runtime.onInstalled.addListener(connect);
connect();
