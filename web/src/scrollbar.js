// A horizontal scroll bar like the desktop's: the arrows step, a click in
// the track pages towards the click, a dragged thumb settles only on
// release, and the keys move it. It reports a change only when its value
// has changed, as the desktop's scroll bar does.

const kMinimumThumb = 10; // CSS px, so that a long range keeps a thumb to grab

export class ScrollBar {
  // signal: when the program ends, the bar stops watching its size.
  constructor(spec, onChange, signal) {
    this.minimum = spec.minimum;
    this.maximum = spec.maximum;
    this.singleStep = spec.singleStep;
    this.pageStep = spec.pageStep;
    this.value = spec.minimum;
    this.onChange = onChange;

    this.element = document.createElement('div');
    this.element.className = 'scrollbar';
    this.element.tabIndex = 0;
    this.element.setAttribute('role', 'slider');
    this.element.setAttribute('aria-orientation', 'horizontal');
    this.back = part('arrow back');
    this.track = part('track');
    this.thumb = part('thumb');
    this.forward = part('arrow forward');
    this.track.append(this.thumb);
    this.element.append(this.back, this.track, this.forward);

    this.element.addEventListener('keydown', (event) => this.keyDown(event));
    this.back.addEventListener('pointerdown', (event) => this.press(event, -this.singleStep));
    this.forward.addEventListener('pointerdown', (event) => this.press(event, this.singleStep));
    this.track.addEventListener('pointerdown', (event) => this.pressTrack(event));
    this.thumb.addEventListener('pointerdown', (event) => this.grab(event));
    const sizeWatch = new ResizeObserver(() => this.layOut());
    sizeWatch.observe(this.element);
    signal.addEventListener('abort', () => sizeWatch.disconnect(), { once: true });
  }

  // The value, its readout and its ARIA values change together or not at
  // all: if the change handler fails, the bar goes back to where it was.
  setValue(value) {
    const clamped = Math.min(this.maximum, Math.max(this.minimum, value));
    const previous = this.value;
    this.value = clamped;
    try {
      if (clamped !== previous) this.onChange();
    } catch (error) {
      this.value = previous;
      throw error;
    } finally {
      this.layOut();
    }
  }

  // Left, Up and Page Up go back; Right, Down and Page Down forward.
  keyDown(event) {
    const steps = {
      ArrowLeft: -this.singleStep, ArrowUp: -this.singleStep,
      ArrowRight: this.singleStep, ArrowDown: this.singleStep,
      PageUp: -this.pageStep, PageDown: this.pageStep,
    };
    if (event.key in steps) this.setValue(this.value + steps[event.key]);
    else if (event.key === 'Home') this.setValue(this.minimum);
    else if (event.key === 'End') this.setValue(this.maximum);
    else return;
    event.preventDefault();
  }

  press(event, step) {
    if (event.button !== 0) return;
    event.preventDefault();
    this.element.focus();
    this.setValue(this.value + step);
  }

  pressTrack(event) {
    if (event.button !== 0 || event.target !== this.track) return;
    event.preventDefault();
    this.element.focus();
    const thumb = this.thumb.getBoundingClientRect();
    this.setValue(this.value + (event.clientX < thumb.left ? -this.pageStep : this.pageStep));
  }

  // While the thumb moves, only the thumb moves: the value, and with it the
  // readout, follows on release.
  grab(event) {
    if (event.button !== 0) return;
    event.preventDefault();
    this.element.focus();
    const startX = event.clientX;
    const startLeft = this.thumb.offsetLeft;
    let dragged = this.value;
    this.thumb.setPointerCapture(event.pointerId);
    const move = (e) => {
      const free = this.track.clientWidth - this.thumb.offsetWidth;
      const left = Math.min(free, Math.max(0, startLeft + e.clientX - startX));
      dragged = this.minimum + (free > 0 ? Math.round(left / free * (this.maximum - this.minimum)) : 0);
      this.thumb.style.left = `${left}px`;
    };
    const release = () => {
      this.thumb.removeEventListener('pointermove', move);
      this.thumb.removeEventListener('pointerup', release);
      this.thumb.removeEventListener('pointercancel', release);
      this.setValue(dragged);
    };
    this.thumb.addEventListener('pointermove', move);
    this.thumb.addEventListener('pointerup', release);
    this.thumb.addEventListener('pointercancel', release);
  }

  layOut(value = this.value) {
    const height = this.element.clientHeight;
    this.back.style.width = this.forward.style.width = `${height}px`;
    const length = this.track.clientWidth;
    const range = this.maximum - this.minimum;
    const thumb = Math.min(length, Math.max(kMinimumThumb, Math.round(length * this.pageStep / (range + this.pageStep))));
    this.thumb.style.width = `${thumb}px`;
    this.thumb.style.left = `${range > 0 ? Math.round((value - this.minimum) / range * (length - thumb)) : 0}px`;
  }
}

function part(className) {
  const element = document.createElement('div');
  element.className = className;
  element.setAttribute('aria-hidden', 'true');
  return element;
}
