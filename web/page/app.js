// The remote's page: the receiver's state arrives over a WebSocket, every press is one
// named command posted to the program. No framework; the page builds its option buttons
// from what the program says the model offers.
'use strict';

const $ = (id) => document.getElementById(id);
let options = null;
let state = {};
let socket = null;
let retry = 1000;
let retryTimer = 0;
let dragging = { volume: false, 'zone2-volume': false };

function showLink(text, kind) {
  const link = $('link');
  link.textContent = text;
  link.className = kind || '';
  $('remote').classList.toggle('offline', kind !== 'up');
}

function problem(text) {
  $('problem').textContent = text || '';
}

function showSignIn() {
  clearTimeout(retryTimer);
  const open = socket;
  socket = null; // its close is not a lost connection to retry
  if (open) open.close();
  $('remote').hidden = true;
  $('signin').hidden = false;
  showLink('Signed out', 'down');
  $('password').focus();
}

async function send(command) {
  let response;
  try {
    response = await fetch('/api/command', {
      method: 'POST',
      headers: { 'Content-Type': 'application/json' },
      body: JSON.stringify(command),
      credentials: 'same-origin',
    });
  } catch (e) {
    return problem('No connection to Orvane');
  }
  if (response.status === 401) return showSignIn();
  if (response.ok) return problem('');
  const answer = await response.json().catch(() => ({}));
  problem(answer.error || 'Refused (' + response.status + ')');
}

function button(text, onPress, label) {
  const b = document.createElement('button');
  b.textContent = text;
  if (label) b.setAttribute('aria-label', label);
  b.addEventListener('click', onPress);
  return b;
}

function fillChoices(box, list, command, name) {
  box.replaceChildren(...list.map((o) => {
    const b = button(o.caption, () => send({ command, index: o.index }), name + ' ' + o.caption);
    b.dataset.index = o.index;
    b.setAttribute('aria-pressed', 'false');
    return b;
  }));
}

function fillSelect(select, list, value, caption) {
  select.replaceChildren(...list.map((o) => {
    const option = document.createElement('option');
    option.value = o[value];
    option.textContent = o[caption];
    return option;
  }));
}

function buildOptions(o) {
  options = o;
  $('model').textContent = o.model || '';
  fillChoices($('inputs'), o.inputs, 'input', 'Input');
  fillChoices($('modes'), o.inputModes, 'inputMode', 'Input mode');
  const dsp = $('dsp');
  dsp.replaceChildren();
  for (const group of o.dsp) {
    const parent = group.label ? document.createElement('optgroup') : dsp;
    if (group.label) {
      parent.label = group.label;
      dsp.append(parent);
    }
    for (const p of group.programs) {
      const option = document.createElement('option');
      option.value = p.index;
      option.textContent = p.caption;
      parent.append(option);
    }
  }
  fillSelect($('sleep'), o.sleep, 'minutes', 'caption');
  fillSelect($('zone2-input'), o.inputs, 'index', 'caption');
  $('memories').replaceChildren(...o.memories.map((letter, i) =>
    button(letter, () => send({ command: 'memory', index: i + 1 }), 'Recall volume memory ' + letter)));
  for (const [id, range] of [['volume', o.volume], ['zone2-volume', o.zone2Volume]]) {
    const slider = $(id);
    slider.min = range.min;
    slider.max = range.max;
    slider.step = range.step;
  }
  $('zone2').hidden = !o.zone2;
  render();
}

function dbText(db) {
  return db === null || db === undefined ? '– dB' : (db > 0 ? '+' : '') + db.toFixed(1) + ' dB';
}

function press(id, on) {
  $(id).setAttribute('aria-pressed', on ? 'true' : 'false');
}

function pick(box, index) {
  for (const b of box.children) pressButton(b, Number(b.dataset.index) === index);
}

function pressButton(b, on) {
  b.setAttribute('aria-pressed', on ? 'true' : 'false');
}

function setSelect(select, value) {
  const text = String(value);
  if ([...select.options].some((o) => o.value === text)) select.value = text;
  else select.selectedIndex = -1;
}

function render() {
  if (!options) return;
  const s = state;
  $('line1').textContent = s.line1 || '';
  $('line2').textContent = s.line2 || '';
  for (const id of ['power', 'mute', 'speakersA', 'speakersB', 'sixChInput', 'es61', 'zone2Mute'])
    press(id, s[id] === true);
  pick($('inputs'), s.input);
  pick($('modes'), s.inputMode);
  setSelect($('dsp'), s.dsp);
  setSelect($('sleep'), s.sleep === null || s.sleep === undefined ? '' : s.sleep);
  setSelect($('zone2-input'), s.zone2Input);
  for (const [id, out, key] of [['volume', 'volume-db', 'volume'], ['zone2-volume', 'zone2-db', 'zone2Volume']]) {
    if (!dragging[id] && s[key] !== null && s[key] !== undefined) $(id).value = s[key];
    if (!dragging[id]) $(out).textContent = dbText(s[key]);
  }
  if (s.connected === false) showLink('Receiver not connected', 'down');
  else if (socket && socket.readyState === WebSocket.OPEN) showLink('Connected', 'up');
}

function connect() {
  clearTimeout(retryTimer);
  if (socket && socket.readyState <= WebSocket.OPEN) return;
  showLink('Connecting…');
  const url = (location.protocol === 'https:' ? 'wss://' : 'ws://') + location.host + '/ws';
  const ws = new WebSocket(url);
  socket = ws;
  let opened = false;
  ws.onopen = () => {
    opened = true;
    retry = 1000;
    $('signin').hidden = true;
    $('remote').hidden = false;
    showLink('Connected', 'up');
  };
  ws.onmessage = (event) => {
    const message = JSON.parse(event.data);
    if (message.type === 'options') buildOptions(message);
    else if (message.type === 'state') {
      state = message;
      render();
    }
  };
  ws.onclose = async () => {
    if (socket !== ws) return;
    socket = null;
    if (!opened) {
      // A refused handshake: signed out, or Orvane is away.
      const answer = await fetch('/api/state', { credentials: 'same-origin' }).catch(() => null);
      if (answer && answer.status === 401) return showSignIn();
    }
    showLink('Disconnected; trying again…', 'down');
    retryTimer = setTimeout(connect, retry);
    retry = Math.min(retry * 2, 15000);
  };
}

function toggle(id) {
  $(id).addEventListener('click', () => send({ command: id, on: state[id] !== true }));
}

function slider(id, command, out) {
  const input = $(id);
  input.addEventListener('input', () => {
    dragging[id] = true;
    $(out).textContent = dbText(Number(input.value));
  });
  input.addEventListener('change', () => {
    dragging[id] = false;
    send({ command, db: Number(input.value) });
  });
}

function start() {
  for (const id of ['power', 'mute', 'speakersA', 'speakersB', 'sixChInput', 'es61', 'zone2Mute'])
    toggle(id);
  $('vol-up').addEventListener('click', () => send({ command: 'volumeUp' }));
  $('vol-down').addEventListener('click', () => send({ command: 'volumeDown' }));
  $('z2-up').addEventListener('click', () => send({ command: 'zone2VolumeUp' }));
  $('z2-down').addEventListener('click', () => send({ command: 'zone2VolumeDown' }));
  slider('volume', 'volume', 'volume-db');
  slider('zone2-volume', 'zone2Volume', 'zone2-db');
  $('dsp').addEventListener('change', (e) => send({ command: 'dsp', index: Number(e.target.value) }));
  $('sleep').addEventListener('change', (e) => send({ command: 'sleep', minutes: Number(e.target.value) }));
  $('zone2-input').addEventListener('change', (e) => send({ command: 'zone2Input', index: Number(e.target.value) }));
  $('signin').addEventListener('submit', async (e) => {
    e.preventDefault();
    const field = $('password');
    const response = await fetch('/api/signin', {
      method: 'POST',
      headers: { 'Content-Type': 'application/json' },
      body: JSON.stringify({ password: field.value }),
      credentials: 'same-origin',
    }).catch(() => null);
    field.value = '';
    if (response && response.ok) {
      $('signin-problem').textContent = '';
      return connect();
    }
    $('signin-problem').textContent = !response ? 'No connection to Orvane'
      : response.status === 429 ? 'Too many tries; wait a minute' : 'Wrong password';
  });
  $('signout').addEventListener('click', async () => {
    await fetch('/api/signout', { method: 'POST', credentials: 'same-origin' }).catch(() => null);
    showSignIn();
  });
  window.addEventListener('online', connect);
  document.addEventListener('visibilitychange', () => {
    if (!document.hidden) connect();
  });
  connect();
}

start();
