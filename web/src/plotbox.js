// The plot box: the shared rasteriser draws into the core's pixels at the
// ratio of device pixels to the window's own CSS pixels (the screen's pixel
// ratio times the window's scale), and the box shows them in a canvas of
// that many device pixels. Labels are written with canvas text into the
// same pixels at the moment the plot prints them, so a later curve lies
// over them.
import { watchScale, windowScale } from './fit.js';

export class PlotBox {
  // font: the program's font as the window gives it, { family, points };
  // life: when it signals 'abort' (the program ends), the box stops
  // watching the window; stop() does the same.
  constructor(core, name, font, life) {
    this.core = core;
    this.element = document.createElement('div');
    this.element.className = 'plotbox';
    this.element.tabIndex = 0;
    this.element.setAttribute('role', 'img');
    this.element.setAttribute('aria-label', name);
    this.canvas = document.createElement('canvas');
    // Each picture pixel is one device pixel (layOut), and should the
    // browser still resample, it keeps the colours whole.
    this.canvas.style.imageRendering = '-moz-crisp-edges'; // Firefox before 93
    this.canvas.style.imageRendering = 'pixelated';
    // The picture is opaque, and an opaque canvas takes it in about half
    // the time. The first call fixes the context's kind.
    this.context = this.canvas.getContext('2d', { alpha: false });
    this.description = document.createElement('div');
    this.description.className = 'visually-hidden';
    this.description.textContent = core.plotBoxDescription('');
    // The keys are told on hovering too, as the desktop's tooltip tells them.
    this.element.title = core.plotBoxDescription('');
    this.element.append(this.canvas, this.description);
    // Beside the box, not in it: a picture's children are left out of the
    // accessibility tree. Unseen, out of the Tab order, and there for a
    // screen reader only while the audio mode is on; it stands for the mode
    // and reminds of the keys.
    this.audioMode = false;
    this.standIn = document.createElement('div');
    this.standIn.className = 'plotbox-stand-in';
    this.standIn.tabIndex = -1;
    const standIn = { role: 'slider', 'aria-label': name, 'aria-valuemin': 0, 'aria-valuemax': 1, 'aria-valuenow': 1,
                      'aria-valuetext': core.plotBoxDescription(''), 'aria-hidden': 'true' };
    for (const attribute of Object.keys(standIn)) this.standIn.setAttribute(attribute, standIn[attribute]);
    // Whichever way the focus comes to the box in the audio mode, by Tab, a
    // click, or its window shown again, it goes on to the stand-in.
    this.element.addEventListener('focus', () => { if (this.audioMode) this.standIn.focus(); });
    // Where the last plot's labels went, in device pixels.
    this.labelBoxes = [];

    // The labels are in the program's font, scaled by the pixel ratio.
    const plotFont = (ratio) => `${font.points * ratio}pt ${font.family}`;
    core.drawText = (pointer, width, height, ratio, x, y, text, colour) => {
      const box = drawLabel(core, pointer, width, height, plotFont(ratio), x, y, text, colour);
      if (box) this.labelBoxes.push(box);
    };
    core.setRatio(this.wantedRatio());
    this.show();

    this.update = () => this.updateRatio();
    this.query = null;
    this.followRatio();
    window.addEventListener('resize', this.update);
    this.unwatchScale = watchScale(this.update);
    if (life) life.addEventListener('abort', () => this.stop(), { once: true });
  }

  // While the audio mode is on, the box's focus and keys are the stand-in's:
  // a slider, on which a screen reader in its reading mode switches to
  // handing the keys to the page, as it does on any slider. A picture keeps
  // them for the reader's own reading (its arrows, Home, End, H). The box
  // keeps its role: an element whose role changes under the focus is
  // replaced in the accessibility tree, and the reader's point of focus
  // stays on the one that is gone.
  setAudioMode(on) {
    this.audioMode = on;
    if (on) {
      this.standIn.removeAttribute('aria-hidden');
      this.standIn.focus();
    } else {
      this.element.focus();
      this.standIn.setAttribute('aria-hidden', 'true');
    }
  }

  // The description is tied once the element has its id in the window.
  describeBy(id) {
    this.description.id = id;
    this.element.setAttribute('aria-describedby', id);
  }

  // A plot whose guard fails draws nothing, and the box keeps its picture.
  // Gives back what the plot shows, in words, or null when it did not draw.
  plot(command, positions, separator) {
    const previous = this.labelBoxes;
    this.labelBoxes = [];
    const said = this.core.plot(command, positions, separator);
    if (!said) {
      this.labelBoxes = previous;
      return null;
    }
    this.show();
    this.description.textContent = this.core.plotBoxDescription(said);
    return said;
  }

  // A new plot at the same size and ratio lies where the last one did: it
  // is laid out again only when those change (and by updateRatio when the
  // window moves), which spares a layout of the page at every plot.
  show() {
    const picture = this.core.picture();
    const resized = this.canvas.width !== picture.width || this.canvas.height !== picture.height;
    if (resized) {
      this.canvas.width = picture.width;
      this.canvas.height = picture.height;
    }
    const bytes = new Uint8ClampedArray(this.core.HEAPU8.buffer, picture.pointer, picture.width * picture.height * 4);
    this.context.putImageData(new ImageData(bytes, picture.width, picture.height), 0, 0);
    if (resized || picture.ratio !== this.shownRatio) {
      this.shownRatio = picture.ratio;
      this.layOut(picture.ratio);
    }
  }

  // The canvas covers exactly its device pixels, from a whole device pixel:
  // under a scaled window its own place rarely falls on one.
  layOut(ratio) {
    const style = this.canvas.style;
    style.width = `${this.canvas.width / ratio}px`;
    style.height = `${this.canvas.height / ratio}px`;
    style.transform = '';
    if (this.element.offsetParent === null) return;
    const device = window.devicePixelRatio;
    const at = this.canvas.getBoundingClientRect();
    const shift = (v) => (Math.round(v * device) - v * device) / ratio;
    const [dx, dy] = [shift(at.left), shift(at.top)];
    if (dx !== 0 || dy !== 0) style.transform = `translate(${dx}px, ${dy}px)`;
  }

  wantedRatio() {
    return window.devicePixelRatio * windowScale();
  }

  // A zoom, a move to another screen or a new scale of the window changes
  // the ratio: the kept picture is drawn again at the new one; the plot
  // does not run again. Browsers tell of a new pixel ratio by the
  // resolution query, some only by a resize.
  followRatio() {
    this.query = window.matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`);
    const changed = () => {
      this.forgetQuery(changed);
      this.updateRatio();
      this.followRatio();
    };
    this.queryChanged = changed;
    if (this.query.addEventListener) this.query.addEventListener('change', changed);
    else this.query.addListener(changed); // Safari before 14
  }

  forgetQuery(listener) {
    if (!this.query) return;
    if (this.query.removeEventListener) this.query.removeEventListener('change', listener);
    else this.query.removeListener(listener);
    this.query = null;
  }

  // A hidden box waits: the title window has a scale of its own, and the
  // box is fitted again when its window comes back.
  updateRatio() {
    if (this.element.offsetParent === null) return;
    const ratio = this.wantedRatio();
    if (ratio === this.core.picture().ratio) {
      this.layOut(ratio); // the window may have moved
      return;
    }
    this.labelBoxes = [];
    this.core.setRatio(ratio);
    this.show();
  }

  stop() {
    this.forgetQuery(this.queryChanged);
    window.removeEventListener('resize', this.update);
    this.unwatchScale();
  }
}

// A label's coverage, drawn once by the browser's text engine and kept:
// the tick labels repeat from plot to plot. Each entry holds the alpha of
// black text on a transparent box.
const kMaxKeptLabels = 1000;
const keptLabels = new Map();
const scratch = document.createElement('canvas');
const scratchContext = scratch.getContext('2d', { willReadFrequently: true });

function labelCoverage(text, font) {
  const key = `${font}|${text}`;
  let coverage = keptLabels.get(key);
  if (coverage) return coverage;
  scratchContext.font = font;
  const metrics = scratchContext.measureText(text);
  const width = Math.ceil(metrics.width) + 1;
  // The desktop puts the font's ascent, in whole pixels, at the anchor, so
  // the label's baseline lies that far below it. Browsers that do not give
  // the font's box (Firefox before 116, Chrome before 87) get Arial's,
  // which Liberation Sans shares.
  let ascent = metrics.fontBoundingBoxAscent;
  let descent = metrics.fontBoundingBoxDescent;
  if (ascent === undefined) {
    const pixels = parseFloat(/([\d.]+)px/.exec(scratchContext.font)[1]);
    ascent = pixels * 0.905;
    descent = pixels * 0.212;
  }
  ascent = Math.round(ascent);
  const height = ascent + Math.ceil(descent) + 1;
  if (scratch.width < width || scratch.height < height) {
    scratch.width = Math.max(scratch.width, width);
    scratch.height = Math.max(scratch.height, height);
  }
  scratchContext.clearRect(0, 0, width, height);
  scratchContext.font = font;
  scratchContext.textBaseline = 'alphabetic';
  scratchContext.fillStyle = '#000';
  scratchContext.fillText(text, 0, ascent);
  const rgba = scratchContext.getImageData(0, 0, width, height).data;
  const alpha = new Uint8Array(width * height);
  for (let i = 0; i < alpha.length; ++i) alpha[i] = rgba[i * 4 + 3];
  coverage = { width, height, alpha };
  if (keptLabels.size >= kMaxKeptLabels) keptLabels.clear();
  keptLabels.set(key, coverage);
  return coverage;
}

// Writes the text in its colour over what the core's pixels hold in its
// box, as canvas text blends over a picture.
function drawLabel(core, pointer, width, height, font, x, y, text, colour) {
  const coverage = labelCoverage(text, font);
  const w = Math.min(width - x, coverage.width);
  const h = Math.min(height - y, coverage.height);
  if (x < 0 || y < 0 || w <= 0 || h <= 0) return null;
  const ink = [colour & 255, (colour >> 8) & 255, (colour >> 16) & 255];
  const heap = core.HEAPU8;
  const words = core.HEAPU32;
  const overWhite = labelOverWhite(coverage, colour, ink);
  for (let row = 0; row < h; ++row) {
    const from = row * coverage.width;
    let word = (pointer >> 2) + (y + row) * width + x;
    for (let column = 0; column < w; ++column, ++word) {
      const a = coverage.alpha[from + column];
      if (a === 0) continue;
      // A label's pixels mostly lie on white, whose blend is the same for
      // every one of them: worked out once, written whole.
      if (words[word] === kWhite) {
        words[word] = overWhite[from + column];
        continue;
      }
      const at = word * 4;
      for (let c = 0; c < 3; ++c) heap[at + c] = blend(heap[at + c], ink[c], a);
    }
  }
  return { x, y, width: w, height: h };
}

// Opaque white as the core's pixels hold it, read as one little-endian word.
const kWhite = 0xffffffff;

// A channel under a label's ink of coverage a, as canvas text blends.
const blend = (under, ink, a) => Math.round((under * (255 - a) + ink * a) / 255);

// The label's pixels blended over white in a colour, as drawLabel blends them.
function labelOverWhite(coverage, colour, ink) {
  if (!coverage.overWhite) coverage.overWhite = new Map();
  let blended = coverage.overWhite.get(colour);
  if (blended) return blended;
  blended = new Uint32Array(coverage.alpha.length);
  coverage.alpha.forEach((a, i) => {
    const [r, g, b] = ink.map((v) => blend(255, v, a));
    blended[i] = (0xff000000 | (b << 16) | (g << 8) | r) >>> 0;
  });
  coverage.overWhite.set(colour, blended);
  return blended;
}
