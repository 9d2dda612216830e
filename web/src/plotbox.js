// The plot box: the shared rasteriser draws into the core's pixels at the
// screen's pixel ratio, and the box shows them in a canvas of that many
// device pixels. Labels are written with canvas text into the same pixels
// at the moment the plot prints them, so a later curve lies over them.

export class PlotBox {
  // font: the program's font as the window gives it, { family, points };
  // signal: ends the box's watch on the window when the program ends.
  constructor(core, name, font, signal) {
    this.core = core;
    this.signal = signal;
    this.element = document.createElement('div');
    this.element.className = 'plotbox';
    this.element.tabIndex = 0;
    this.element.setAttribute('role', 'img');
    this.element.setAttribute('aria-label', name);
    this.canvas = document.createElement('canvas');
    const size = core.logicalSize();
    this.canvas.style.width = `${size.width}px`;
    this.canvas.style.height = `${size.height}px`;
    this.description = document.createElement('div');
    this.description.className = 'visually-hidden';
    this.element.append(this.canvas, this.description);
    // Where the last plot's labels went, in device pixels.
    this.labelBoxes = [];

    // The labels are in the program's font, scaled by the pixel ratio.
    const plotFont = (ratio) => `${font.points * ratio}pt ${font.family}`;
    core.drawText = (pointer, width, height, ratio, x, y, text, colour) => {
      const box = drawLabel(core, pointer, width, height, plotFont(ratio), x, y, text, colour);
      if (box) this.labelBoxes.push(box);
    };
    core.setRatio(window.devicePixelRatio);
    this.show();
    this.followRatio();
    window.addEventListener('resize', () => this.updateRatio(), { signal });
  }

  // The description is tied once the element has its id in the window.
  describeBy(id) {
    this.description.id = id;
    this.element.setAttribute('aria-describedby', id);
  }

  // A plot whose guard fails draws nothing, and the box keeps its picture.
  // Says whether it drew.
  plot(command, positions, separator) {
    const previous = this.labelBoxes;
    this.labelBoxes = [];
    if (!this.core.plot(command, positions, separator)) {
      this.labelBoxes = previous;
      return false;
    }
    this.show();
    this.description.textContent = this.core.describePlot(command, positions, separator);
    return true;
  }

  show() {
    const picture = this.core.picture();
    if (this.canvas.width !== picture.width || this.canvas.height !== picture.height) {
      this.canvas.width = picture.width;
      this.canvas.height = picture.height;
    }
    const bytes = new Uint8ClampedArray(this.core.HEAPU8.buffer, picture.pointer, picture.width * picture.height * 4);
    this.canvas.getContext('2d').putImageData(new ImageData(bytes, picture.width, picture.height), 0, 0);
  }

  // A zoom or a move to another screen changes the ratio: the kept picture
  // is drawn again at the new one; the plot does not run again. Browsers
  // tell of it by the resolution query, some only by a resize.
  followRatio() {
    const query = window.matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`);
    query.addEventListener('change', () => {
      this.updateRatio();
      this.followRatio();
    }, { once: true, signal: this.signal });
  }

  updateRatio() {
    if (window.devicePixelRatio === this.core.picture().ratio) return;
    this.labelBoxes = [];
    this.core.setRatio(window.devicePixelRatio);
    this.show();
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
  // The font's box where the browser gives it, else the glyphs' own.
  const byFont = metrics.fontBoundingBoxAscent !== undefined;
  const ascent = byFont ? metrics.fontBoundingBoxAscent : metrics.actualBoundingBoxAscent;
  const descent = byFont ? metrics.fontBoundingBoxDescent : metrics.actualBoundingBoxDescent;
  const height = Math.ceil(ascent + descent) + 1;
  if (scratch.width < width || scratch.height < height) {
    scratch.width = Math.max(scratch.width, width);
    scratch.height = Math.max(scratch.height, height);
  }
  scratchContext.clearRect(0, 0, width, height);
  scratchContext.font = font;
  scratchContext.textBaseline = 'top';
  scratchContext.fillStyle = '#000';
  scratchContext.fillText(text, 0, 0);
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
  for (let row = 0; row < h; ++row) {
    let at = pointer + ((y + row) * width + x) * 4;
    for (let column = 0; column < w; ++column, at += 4) {
      const a = coverage.alpha[row * coverage.width + column];
      if (a === 0) continue;
      for (let c = 0; c < 3; ++c) heap[at + c] = Math.round((heap[at + c] * (255 - a) + ink[c] * a) / 255);
    }
  }
  return { x, y, width: w, height: h };
}
