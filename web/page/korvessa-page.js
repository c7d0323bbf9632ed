// The board's pages around the web game: it sets up Emscripten's Module for
// korvessa.js, which loads next, then either watches a replay or plays
// today's field and sends the game to the board.
'use strict';

(function () {
  const canvas = document.getElementById('canvas');
  const status = document.getElementById('status');
  const wasm = document.currentScript.dataset.wasm;
  const say = (text) => { if (status) status.textContent = text; };
  // Figures for the tests and the README: when the first frame was drawn
  // and how many frames the game drew since.
  const figures = { firstFrameMs: null, frames: 0 };
  window.korvessaFigures = figures;

  function countFrames() {
    const ticks = Module._korvessa_ticks();
    if (ticks !== countFrames.last) {
      countFrames.last = ticks;
      figures.frames += 1;
      if (figures.firstFrameMs === null) figures.firstFrameMs = performance.now();
    }
    requestAnimationFrame(countFrames);
  }

  async function watch() {
    const answer = await fetch(canvas.dataset.replay);
    if (!answer.ok) { say('the replay cannot be fetched'); return; }
    const bytes = new Uint8Array(await answer.arrayBuffer());
    const at = Module._malloc(bytes.length);
    Module.HEAPU8.set(bytes, at);
    const refused = Module._korvessa_watch(at, bytes.length);
    Module._free(at);
    if (refused) { say('the replay cannot be played'); return; }
    const controls = document.getElementById('controls');
    controls.hidden = false;
    let paused = false;
    document.getElementById('pause').onclick = (event) => {
      paused = !paused;
      Module._korvessa_pause(paused ? 1 : 0);
      event.target.textContent = paused ? 'resume' : 'pause';
    };
    document.getElementById('restart').onclick = () => Module._korvessa_restart();
    for (const button of document.querySelectorAll('button.speed')) {
      button.onclick = () => Module._korvessa_speed(Number(button.dataset.factor));
    }
    const watchEnd = () => {
      if (Module._korvessa_state() === 2) say('end of the game: score ' + Module._korvessa_score());
      else say('');
      setTimeout(watchEnd, 250);
    };
    watchEnd();
  }

  // A C string on the module's heap, for the caller to free.
  function cString(text) {
    const bytes = new TextEncoder().encode(text + '\0');
    const at = Module._malloc(bytes.length);
    Module.HEAPU8.set(bytes, at);
    return at;
  }

  function setOption(name, value) {
    const [n, v] = [cString(name), cString(value)];
    const refused = Module._korvessa_option(n, v);
    Module._free(n);
    Module._free(v);
    return !refused;
  }

  // The drawing options, kept in the browser as the desktop keeps them in
  // its settings, and applied as soon as they are chosen.
  function drawingOptions() {
    const row = document.getElementById('options');
    const kept = JSON.parse(localStorage.getItem('korvessa-options') || '{}');
    for (const select of row.querySelectorAll('select')) {
      const name = select.dataset.option;
      if (kept[name] !== undefined && setOption(name, kept[name])) select.value = kept[name];
      select.onchange = () => {
        if (setOption(name, select.value)) {
          kept[name] = select.value;
          localStorage.setItem('korvessa-options', JSON.stringify(kept));
        }
        if (canvas.dataset.mode === 'play') canvas.focus();
      };
    }
    row.hidden = false;
  }

  // The board key as the desktop game makes it: 32 random bytes in base64.
  function boardKey() {
    let key = localStorage.getItem('korvessa-board-key');
    if (!key) {
      const bytes = crypto.getRandomValues(new Uint8Array(32));
      key = btoa(String.fromCharCode(...bytes));
      localStorage.setItem('korvessa-board-key', key);
    }
    return key;
  }

  async function send(player) {
    const length = Module._malloc(4);
    const at = Module._korvessa_replay(length);
    const size = Module.HEAP32[length >> 2];
    const replay = Module.HEAPU8.slice(at, at + size);
    Module._free(length);
    say('sending to the daily board');
    const answer = await fetch('/api/v1/submissions?player=' + encodeURIComponent(player), {
      method: 'POST',
      headers: { 'Authorization': 'Bearer ' + boardKey(),
                 'Content-Type': 'application/x-korvessa-replay' },
      body: replay,
    });
    const sent = await answer.json();
    if (!answer.ok) { say('refused: ' + sent.error); return; }
    for (;;) {
      const verdict = await (await fetch('/api/v1/submissions/' + sent.id)).json();
      if (verdict.status === 'verified') {
        say('score ' + verdict.score + ': rank ' + verdict.rank + ' of ' + verdict.players + ' today');
        return;
      }
      if (verdict.status === 'rejected') { say('refused: ' + verdict.reason); return; }
      await new Promise((resolve) => setTimeout(resolve, 500));
    }
  }

  function play() {
    const form = document.getElementById('start');
    const name = document.getElementById('player');
    name.value = localStorage.getItem('korvessa-player') || '';
    form.hidden = false;
    form.onsubmit = (event) => {
      event.preventDefault();
      const player = name.value.trim();
      if (!player) return;
      localStorage.setItem('korvessa-player', player);
      form.hidden = true;
      name.blur();
      canvas.focus();
      Module._korvessa_play(Number(canvas.dataset.seed));
      const waitForEnd = () => {
        if (Module._korvessa_state() === 2) send(player).catch((error) => say('not sent: ' + error));
        else setTimeout(waitForEnd, 100);
      };
      waitForEnd();
    };
  }

  window.Module = {
    canvas: canvas,
    locateFile: (file) => (file.endsWith('.wasm') ? wasm : file),
    print: (text) => console.log(text),
    printErr: (text) => console.warn(text),
    onRuntimeInitialized: () => {
      countFrames();
      drawingOptions();
      if (canvas.dataset.mode === 'watch') watch().catch((error) => say('failed: ' + error));
      else play();
    },
  };
})();
