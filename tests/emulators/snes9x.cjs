// Runs snes9x as the npm package @emulatorjs/core-snes9x builds it (RetroArch and the core,
// compiled to WebAssembly for browsers) under node, with the steps of frontend.cpp:
//   node snes9x.cjs CORE_DIR ROM STEP...     steps: run N | save FILE | load FILE
// CORE_DIR holds snes9x_libretro.js and .wasm, unpacked from the package's .data (7-zip).
// Only what the program touches of a browser is stood in for: no picture, sound or input.
'use strict';
const fs = require('fs');
const [coreDir, rom, ...steps] = process.argv.slice(2);

const nothing = () => {};
const element = () => ({
  addEventListener: nothing, removeEventListener: nothing, setAttribute: nothing, style: {},
  width: 640, height: 480, getContext: () => null,
  getBoundingClientRect: () => ({ left: 0, top: 0, width: 640, height: 480 }),
});
Object.assign(globalThis, {
  window: globalThis, navigator: { userAgent: 'node' }, devicePixelRatio: 1,
  addEventListener: nothing, removeEventListener: nothing, resizeTo: nothing,
  document: Object.assign(element(), {
    querySelector: () => null, getElementById: () => null, createElement: element,
    visibilityState: 'visible',
  }),
  ResizeObserver: class { observe() {} unobserve() {} },
});

const log = [];
function fail(message) {
  console.error(`snes9x: ${message}\n${log.slice(-20).join('\n')}`);
  process.exit(1);
}

(async () => {
  const Module = await require(`${coreDir}/snes9x_libretro.js`)({
    noInitialRun: true,
    wasmBinary: fs.readFileSync(`${coreDir}/snes9x_libretro.wasm`),
    canvas: element(),
    print: (text) => log.push(text),
    printErr: (text) => log.push(text),
  });
  const { FS } = Module;
  FS.mkdirTree('/home/web_user/.config/retroarch');
  FS.writeFile('/home/web_user/.config/retroarch/retroarch.cfg', [
    'video_driver = "null"', 'audio_driver = "null"', 'input_driver = "null"',
    'menu_driver = "null"', 'savestate_file_compression = "false"', '',
  ].join('\n'));
  FS.writeFile('/vellum.smc', fs.readFileSync(rom));
  try {
    Module.callMain(['/vellum.smc']);
  } catch (e) {
    if (e !== 'unwind') fail(`it did not start: ${e}`);  // the main loop goes on by timers
  }
  const frame = Module.cwrap('get_current_frame_count', 'number', []);
  const stateInfo = Module.cwrap('save_state_info', 'string', []);
  const loadState = Module.cwrap('load_state', 'number', ['string', 'number']);
  const frames = (n) => new Promise((done, give_up) => {
    const until = frame() + n;
    const deadline = Date.now() + 30000;
    const wait = () => (frame() >= until ? done()
      : Date.now() > deadline ? give_up(new Error('no frames')) : setTimeout(wait, 10));
    wait();
  });

  for (let i = 0; i < steps.length; i += 2) {
    const [step, arg] = [steps[i], steps[i + 1]];
    if (step === 'run') {
      await frames(Number(arg)).catch(() => fail(`it ran no ${arg} frames`));
    } else if (step === 'save') {
      const [size, at, ok] = stateInfo().split('|');  // length, address in memory, success
      if (ok !== '1') fail('it saved no state');
      fs.writeFileSync(arg, Module.HEAPU8.slice(Number(at), Number(at) + Number(size)));
    } else if (step === 'load') {
      FS.writeFile('/game.state', fs.readFileSync(arg));
      loadState('/game.state', 0);  // says 0 either way: what it saves next tells
    } else {
      fail(`unknown step ${step}`);
    }
  }
  process.exit(0);
})();
