// Plays the blocks of interleaved stereo samples the page sends, in order, and sends each one
// back when it has been played, with how many frames had been played before the render
// quantum in which it ended and that quantum's start time: from those the page knows which
// frame is heard when. Silence when no block is waiting. A block from a new generation (a new
// showing of the demo) drops what is queued and counts from 0 again.
class VardelFeed extends AudioWorkletProcessor {
  constructor() {
    super();
    this.queue = [];
    this.offset = 0;
    this.played = 0;
    this.generation = -1;
    this.port.onmessage = (event) => {
      const block = event.data;
      if (block.generation !== this.generation) {
        this.queue.length = 0;
        this.offset = 0;
        this.played = 0;
        this.generation = block.generation;
      }
      this.queue.push(block);
    };
  }

  process(inputs, outputs) {
    const left = outputs[0][0];
    const right = outputs[0].length > 1 ? outputs[0][1] : left;
    const playedBefore = this.played;
    let i = 0;
    while (i < left.length && this.queue.length > 0) {
      const block = this.queue[0];
      const samples = block.samples;
      const frames = samples.length / 2;
      while (i < left.length && this.offset < frames) {
        left[i] = samples[2 * this.offset];
        right[i] = samples[2 * this.offset + 1];
        ++i;
        ++this.offset;
      }
      this.played = playedBefore + i;
      if (this.offset >= frames) {
        this.queue.shift();
        this.offset = 0;
        this.port.postMessage({ samples, generation: block.generation, played: playedBefore,
          time: currentTime }, [samples.buffer]);
      }
    }
    for (; i < left.length; ++i) {
      left[i] = 0;
      right[i] = 0;
    }
    return true;
  }
}

registerProcessor('vardel-feed', VardelFeed);
