// The plot box: the shared rasteriser draws into the core's pixels at the
// screen's pixel ratio, and the box shows them in a canvas of that many
// device pixels. Labels are written with canvas text into the same pixels
// at the moment the plot prints them, so a later curve lies over them.

const kPlotFont = (ratio) => `${8 * ratio}pt Arial, "Liberation Sans", sans-serif`;

export class PlotBox {
  constructor(core, name) {
    this.core = core;
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

    core.drawText = (pointer, width, height, ratio, x, y, text, colour) => {
      const box = drawLabel(core, pointer, width, height, ratio, x, y, text, colour);
      if (box) this.labelBoxes.push(box);
    };
    core.setRatio(window.devicePixelRatio);
    this.show();
    this.followRatio();
    window.addEventListener('resize', () => this.updateRatio());
  }

  // The description is tied once the element has its id in the window.
  describeBy(id) {
    this.description.id = id;
    this.element.setAttribute('aria-describedby', id);
  }

  // A plot whose guard fails draws nothing, and the box keeps its picture.
  plot(command, positions, separator) {
    const previous = this.labelBoxes;
    this.labelBoxes = [];
    if (!this.core.plot(command, positions, separator)) {
      this.labelBoxes = previous;
      return;
    }
    this.show();
    this.description.textContent = this.core.describePlot(command, positions, separator);
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
    }, { once: true });
  }

  updateRatio() {
    if (window.devicePixelRatio === this.core.picture().ratio) return;
    this.labelBoxes = [];
    this.core.setRatio(window.devicePixelRatio);
    this.show();
  }
}

const scratch = document.createElement('canvas');
const scratchContext = scratch.getContext('2d', { willReadFrequently: true });

// Copies the label's box out of the core's pixels, writes the text over
// what is there, and copies the box back.
function drawLabel(core, pointer, width, height, ratio, x, y, text, colour) {
  scratchContext.font = kPlotFont(ratio);
  const metrics = scratchContext.measureText(text);
  const w = Math.min(width - x, Math.ceil(metrics.width) + 1);
  const h = Math.min(height - y, Math.ceil(metrics.fontBoundingBoxAscent + metrics.fontBoundingBoxDescent) + 1);
  if (x < 0 || y < 0 || w <= 0 || h <= 0) return null;
  scratch.width = w;
  scratch.height = h;
  const heap = core.HEAPU8;
  const rowBytes = w * 4;
  const box = scratchContext.createImageData(w, h);
  for (let row = 0; row < h; ++row) {
    const from = pointer + ((y + row) * width + x) * 4;
    box.data.set(heap.subarray(from, from + rowBytes), row * rowBytes);
  }
  scratchContext.putImageData(box, 0, 0);
  scratchContext.font = kPlotFont(ratio);
  scratchContext.textBaseline = 'top';
  scratchContext.fillStyle = `rgb(${colour & 255}, ${(colour >> 8) & 255}, ${(colour >> 16) & 255})`;
  scratchContext.fillText(text, 0, 0);
  const drawn = scratchContext.getImageData(0, 0, w, h).data;
  for (let row = 0; row < h; ++row)
    heap.set(drawn.subarray(row * rowBytes, (row + 1) * rowBytes), pointer + ((y + row) * width + x) * 4);
  return { x, y, width: w, height: h };
}
