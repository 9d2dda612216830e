// Where the plot box's sound goes: the browser's audio output, through Web
// Audio. The window plays only through { play(samples, rate), stop() }, so
// that a test can stand in for it. Browsers allow sound only after a user's
// gesture, so the audio context is made at the first key that plays.
export function speakers() {
  let context = null;
  let source = null;
  const output = {
    // Plays mono samples from -1 to 1 from their start, in place of
    // whatever plays; false when the browser has no output to play them on.
    play(samples, rate) {
      output.stop();
      const Context = window.AudioContext || window.webkitAudioContext;
      if (!Context) return false;
      try {
        if (!context) context = new Context();
        // A browser that will not resume simply stays silent.
        if (context.state === 'suspended') context.resume().catch(() => {});
        const buffer = context.createBuffer(1, samples.length, rate);
        if (buffer.copyToChannel) buffer.copyToChannel(samples, 0);
        else buffer.getChannelData(0).set(samples); // Safari before 14.1
        source = context.createBufferSource();
        source.buffer = buffer;
        source.connect(context.destination);
        source.start();
        return true;
      } catch (refused) {
        source = null;
        return false;
      }
    },
    stop() {
      if (!source) return;
      source.stop();
      source.disconnect();
      source = null;
    },
  };
  return output;
}
