// The page around the demo's program (vardel.js): the title card with the loading progress
// and "click to start", the audio context the program's Web Audio output plays into, the
// canvas it draws on, full screen, and the end card. ?check=N and ?part=N&muted start at once,
// without sound.
'use strict';

(function () {
  const query = new URLSearchParams(location.search);
  const checking = query.has('check');
  const silent = checking || query.has('muted');

  const $ = (id) => document.getElementById(id);
  const card = $('card');
  const statusLine = $('status');
  const startLine = $('start');
  const againLine = $('again');
  const canvas = $('screen');
  const context2d = canvas.getContext('2d');

  let runtimeReady = false;
  let started = false;
  let failed = false;
  let endedContext = null;
  let errorLines = [];
  let frameImage = null; // ImageData over the program's frame, while its memory stays put

  function setStatus(text) {
    if (!failed) statusLine.textContent = text;
  }

  function fail(text) {
    failed = true;
    card.hidden = false;
    startLine.hidden = true;
    statusLine.className = 'error';
    const more = errorLines.filter((line) => !text.includes(line.replace(/^vardel: /, '')));
    statusLine.textContent = [text].concat(more).join('\n');
    document.title = 'failed';
  }

  // --- sound: an AudioWorklet pulls blocks from the program's mixer, or a ScriptProcessor
  // where there are no worklets (pages not served from a secure origin).
  async function openAudio() {
    const AudioContextClass = window.AudioContext || window.webkitAudioContext;
    if (!AudioContextClass) return null;
    const context = new AudioContextClass({ sampleRate: 44100, latencyHint: 'interactive' });
    let node = null;
    let kind = 'worklet';
    if (context.audioWorklet) {
      try {
        await context.audioWorklet.addModule('audio-worklet.js');
        node = new AudioWorkletNode(context, 'vardel-feed',
          { numberOfInputs: 0, numberOfOutputs: 1, outputChannelCount: [2] });
      } catch (error) {
        console.warn('vardel: no audio worklet, using a ScriptProcessor', error);
      }
    }
    if (!node) {
      kind = 'script';
      node = context.createScriptProcessor(1024, 0, 2);
    }
    node.connect(context.destination);
    await context.resume();
    return makeAudio(context, node, kind);
  }

  function makeAudio(context, node, kind) {
    const blocksAhead = 6;
    let output = 0; // the program's output that pulls, 0 when none
    let frames = 0;
    let generation = 0;
    let mixedFrames = 0; // ScriptProcessor: frames handed out since attach
    let blocksMixed = 0;

    const latency = () => (context.outputLatency || 0) + (context.baseLatency || 0);
    const mixInto = (samples) => {
      ++blocksMixed;
      const at = Module._vardel_audio_mix(output, samples.length / 2) >> 2;
      samples.set(Module.HEAPF32.subarray(at, at + samples.length));
    };

    if (kind === 'worklet') {
      node.port.onmessage = (event) => {
        const block = event.data;
        if (!output || block.generation !== generation) return;
        Module._vardel_audio_heard(output, block.played, block.time, latency());
        mixInto(block.samples);
        node.port.postMessage(block, [block.samples.buffer]);
      };
    } else {
      node.onaudioprocess = (event) => {
        const left = event.outputBuffer.getChannelData(0);
        const right = event.outputBuffer.getChannelData(1);
        if (!output) {
          left.fill(0);
          right.fill(0);
          return;
        }
        ++blocksMixed;
        const at = Module._vardel_audio_mix(output, left.length) >> 2;
        const heap = Module.HEAPF32;
        for (let i = 0; i < left.length; ++i) {
          left[i] = heap[at + 2 * i];
          right[i] = heap[at + 2 * i + 1];
        }
        Module._vardel_audio_heard(output, mixedFrames, event.playbackTime, latency());
        mixedFrames += left.length;
      };
    }

    return {
      context,
      blocksMixed: () => blocksMixed,
      attach(newOutput, blockFrames) {
        output = newOutput;
        frames = blockFrames;
        ++generation;
        mixedFrames = 0;
        if (kind === 'worklet') {
          for (let i = 0; i < blocksAhead; ++i) {
            const samples = new Float32Array(2 * frames);
            mixInto(samples);
            node.port.postMessage({ samples, generation, played: 0, time: 0 }, [samples.buffer]);
          }
        }
        return 1;
      },
      detach(oldOutput) {
        if (output === oldOutput) output = 0;
      },
    };
  }

  // --- the program's calls (web/PageCalls.cpp)
  const page = {
    status: setStatus,
    fail,
    showFrame(pointer, width, height) {
      const buffer = Module.HEAPU8.buffer;
      if (!frameImage || frameImage.pointer !== pointer || frameImage.buffer !== buffer) {
        const bytes = new Uint8ClampedArray(buffer, pointer, width * height * 4);
        frameImage = { pointer, buffer, image: new ImageData(bytes, width, height) };
      }
      context2d.putImageData(frameImage.image, 0, 0);
      if (!card.hidden && !failed) card.hidden = true;
    },
    partShown(part) {
      canvas.dataset.part = part;
    },
    ended(quit, context) {
      endedContext = context;
      if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
      card.hidden = false;
      startLine.hidden = true;
      againLine.hidden = false;
      setStatus(quit ? 'The demo was stopped.' : 'The end. Thank you for watching.');
      document.title = 'Orvex Vardel (ended)';
    },
    checkDone(lines, framesPerSecond) {
      $('hashes').textContent = lines;
      $('hashes').dataset.fps = framesPerSecond.toFixed(1);
      setStatus(`checked: ${framesPerSecond.toFixed(1)} frames per second`);
      document.title = 'done';
    },
  };

  // --- starting
  async function start() {
    if (started || failed || !runtimeReady) return;
    started = true;
    startLine.hidden = true;
    if (!silent) {
      try {
        Module.vardelAudio = await openAudio();
      } catch (error) {
        console.warn('vardel: no sound', error);
      }
      if (!Module.vardelAudio) setStatus('no sound in this browser; playing without');
    }
    Module.callMain([location.search]);
  }

  // The program's reading of the query, before anything starts.
  function queryProblem() {
    const size = 512;
    const query = Module._malloc(Module.lengthBytesUTF8(location.search) + 1);
    const out = Module._malloc(size);
    Module.stringToUTF8(location.search, query, Module.lengthBytesUTF8(location.search) + 1);
    Module._vardel_query_problem(query, out, size);
    const problem = Module.UTF8ToString(out);
    Module._free(query);
    Module._free(out);
    return problem;
  }

  function onReady() {
    runtimeReady = true;
    const problem = queryProblem();
    if (problem) {
      fail(problem);
    } else if (silent) {
      start();
    } else if (!failed) {
      setStatus('');
      startLine.hidden = false;
    }
  }

  card.addEventListener('click', () => {
    if (endedContext) return;
    start();
  });
  $('again-button').addEventListener('click', (event) => {
    event.stopPropagation();
    if (!endedContext) return;
    const context = endedContext;
    endedContext = null;
    againLine.hidden = true;
    setStatus('');
    document.title = 'Orvex Vardel';
    if (Module.vardelAudio) Module.vardelAudio.context.resume();
    Module._vardel_play_again(context);
  });

  // --- full screen: f or a double click
  function toggleFullScreen() {
    const stage = $('stage');
    if (document.fullscreenElement) {
      document.exitFullscreen().catch(() => {});
    } else if (stage.requestFullscreen) {
      stage.requestFullscreen().catch(() => {});
    }
  }
  document.addEventListener('keydown', (event) => {
    if (event.key === 'f' && !event.ctrlKey && !event.altKey && !event.metaKey) {
      toggleFullScreen();
    } else if ((event.key === 'Enter' || event.key === ' ') && !started) {
      start();
    }
  });
  $('stage').addEventListener('dblclick', toggleFullScreen);

  // --- the Emscripten module
  window.Module = {
    vardelPage: page,
    canvas,
    print: (text) => console.log(text),
    printErr: (text) => {
      console.error(text);
      errorLines.push(text);
      if (errorLines.length > 5) errorLines.shift();
    },
    setStatus(text) {
      // "Downloading data... (12345/67890)" while the data package comes in.
      const progress = /\((\d+(?:\.\d+)?)\/(\d+)\)/.exec(text);
      if (progress) {
        setStatus(`loading ${Math.floor((100 * progress[1]) / progress[2])} %`);
      } else if (text && !runtimeReady) {
        setStatus('loading');
      }
    },
    onRuntimeInitialized: onReady,
    onAbort: (what) => fail('the program stopped: ' + what),
  };
  window.addEventListener('error', (event) => {
    if (!runtimeReady && /vardel/.test(event.filename || '')) fail('vardel.js failed to load');
  });
})();
