// A horizontal scroll bar like the desktop's: the arrows step, a press in
// the track pages towards it, and holding either repeats as the desktop's
// scroll bar does; a dragged thumb settles only on release, and the keys
// move it. It reports a change only when its value has changed, as the
// desktop's scroll bar does. A finger is given room, though the parts look
// as they always do: each arrow and the thumb take a touch within a square
// of kTouchTarget screen pixels where the rows of bars leave that much
// room; where they lie closer (a phone), a touch goes to the nearest bar.
import { watchScale } from './fit.js';

const kMinimumThumb = 10; // CSS px, so that a long range keeps a thumb to grab
// The desktop's scroll bar repeats a held arrow or track after this long,
// then at this interval (ms).
export const kRepeatDelay = 500;
export const kRepeatInterval = 50;
const kTouchTarget = 24; // CSS px on screen, after the window's scale

// The bars that take presses now, in the order they were made.
const liveBars = new Set();

export class ScrollBar {
  // life: when it signals 'abort' (the program ends), the bar stops
  // watching its size and its input; stop() does the same.
  constructor(spec, onChange, life) {
    this.minimum = spec.minimum;
    this.maximum = spec.maximum;
    this.singleStep = spec.singleStep;
    this.pageStep = spec.pageStep;
    this.value = spec.minimum;
    this.onChange = onChange;
    this.holding = null;

    this.element = document.createElement('div');
    this.element.className = 'scrollbar';
    this.element.tabIndex = 0;
    this.element.setAttribute('role', 'slider');
    this.element.setAttribute('aria-orientation', 'horizontal');
    this.back = part('arrow back');
    this.track = part('track');
    this.thumb = part('thumb');
    this.forward = part('arrow forward');
    // Unseen, and only under a coarse pointer: the room around the bar in
    // which a touch still reaches it.
    this.reach = part('reach');
    this.track.append(this.thumb);
    this.element.append(this.reach, this.back, this.track, this.forward);

    this.element.addEventListener('keydown', (event) => this.keyDown(event));
    this.stopPresses = listenForPresses(this.element, pressAt);
    const layOut = () => this.layOut();
    this.unwatchScale = watchScale(layOut);
    this.sizeWatch = null;
    if (window.ResizeObserver) {
      this.sizeWatch = new ResizeObserver(layOut);
      this.sizeWatch.observe(this.element);
    }
    liveBars.add(this);
    if (life) life.addEventListener('abort', () => this.stop(), { once: true });
  }

  stop() {
    liveBars.delete(this);
    this.endHold();
    this.stopPresses();
    this.unwatchScale();
    if (this.sizeWatch) this.sizeWatch.disconnect();
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

  // Which part a press at (x, y) on the screen is for. A mouse takes what
  // it is over. A finger takes the thumb it is on, else an arrow within
  // its room, else the thumb within its room, else the track within its
  // room, else whichever part is nearest.
  partAt(x, y, touch) {
    const boxes = this.partBoxes();
    if (inside(boxes.thumb, x, y)) return 'thumb';
    for (const name of ['back', 'forward']) if (inside(boxes[name], x, y)) return name;
    if (!touch) return inside(boxes.track, x, y) ? 'track' : null;
    const roomy = ['back', 'forward', 'thumb', 'track'].find((name) => inside(touchRoom(name, boxes[name], boxes.track), x, y));
    if (roomy) return roomy;
    return Object.keys(boxes).reduce((near, name) => (distance(boxes[name], x, y) < distance(boxes[near], x, y) ? name : near));
  }

  partBoxes() {
    const boxes = {};
    for (const name of ['thumb', 'back', 'forward', 'track']) boxes[name] = this[name].getBoundingClientRect();
    return boxes;
  }

  // Whether a press held on the named part is still on it at (x, y): for a
  // finger, anywhere in the part's room, so that a finger that wobbles goes
  // on, but never on the strength of being the nearest. A press on the
  // track stays on it only on the side of the thumb it was made on.
  stillOn(name, x, y, touch, direction) {
    const box = this[name].getBoundingClientRect();
    if (!inside(touch ? touchRoom(name, box, this.track.getBoundingClientRect()) : box, x, y)) return false;
    if (name !== 'track') return true;
    const thumb = this.thumb.getBoundingClientRect();
    return direction < 0 ? x < thumb.left : x >= thumb.right;
  }

  // Which bar, and which of its parts, a press at (x, y) on the screen is
  // for, whichever bar it landed on. Where rows of bars lie closer than a
  // finger, one bar's reach lies over the next bar: a press on a bar's
  // own box is that bar's, and a finger between bars takes the nearest.
  static takerAt(x, y, touch) {
    let nearest = null;
    for (const bar of liveBars) {
      const box = bar.element.getBoundingClientRect();
      if (!inside(box, x, y) && !(touch && inside(bar.reach.getBoundingClientRect(), x, y))) continue;
      const d = distance(box, x, y);
      if (!nearest || d < nearest.d) nearest = { bar, d };
    }
    const part = nearest && nearest.bar.partAt(x, y, touch);
    return part ? { bar: nearest.bar, part } : null;
  }

  // Starts what a press on the named part does, and gives back what moving
  // and letting go do.
  press(name, x, y, touch) {
    this.element.focus({ preventScroll: true });
    if (name === 'thumb') return this.grab(x);
    const direction = name === 'back' || (name === 'track' && x < this.thumb.getBoundingClientRect().left) ? -1 : 1;
    const step = direction * (name === 'track' ? this.pageStep : this.singleStep);
    // As on the desktop, an arrow or the track repeats only while the
    // pointer is on it; the track's steps end where the thumb reaches it.
    let at = { x, y };
    return this.hold(() => this.setValue(this.value + step),
                     () => this.stillOn(name, at.x, at.y, touch, direction),
                     (mx, my) => { at = { x: mx, y: my }; });
  }

  // One step at once, then one when the delay has passed, then one at
  // every interval, counted from the press: a late timer catches up, so
  // that a hold gives as many steps as its length, as on the desktop.
  // While on() says the pointer is off the part, the steps pause; back on
  // it, one comes at once and the next when the delay has passed again, as
  // on the desktop.
  hold(step, on, moved) {
    this.endHold();
    const holding = { timer: null };
    this.holding = holding;
    let start = 0;
    let delay = 0;
    let taken = 0;
    let going = false;
    const due = (now) => (now - start < delay ? 0 : 1 + Math.floor((now - start - delay) / kRepeatInterval));
    const pause = () => {
      going = false;
      clearTimeout(holding.timer);
    };
    const catchUp = () => {
      const until = due(performance.now());
      while (going && taken < until) {
        ++taken;
        if (on()) step();
        else pause();
      }
    };
    const tick = () => {
      catchUp();
      if (!going || this.holding !== holding) return;
      const next = start + delay + taken * kRepeatInterval;
      holding.timer = setTimeout(tick, Math.max(0, next - performance.now()));
    };
    const go = (firstDelay) => {
      [start, delay, taken, going] = [performance.now(), firstDelay, 0, true];
      step();
      holding.timer = setTimeout(tick, firstDelay);
    };
    go(kRepeatDelay);
    return {
      move: (mx, my) => {
        catchUp();
        moved(mx, my);
        if (going && !on()) pause();
        else if (!going && on()) go(kRepeatDelay);
      },
      release: () => {
        catchUp();
        this.endHold();
      },
    };
  }

  endHold() {
    if (!this.holding) return;
    clearTimeout(this.holding.timer);
    this.holding = null;
  }

  // While the thumb moves, only the thumb moves: the value, and with it the
  // readout, follows on release.
  grab(x) {
    const startX = x;
    const startLeft = this.thumb.offsetLeft;
    // Screen pixels per pixel of the window, which may be scaled.
    const scale = this.track.getBoundingClientRect().width / (this.track.clientWidth || 1) || 1;
    let dragged = this.value;
    return {
      move: (mx) => {
        const free = this.track.clientWidth - this.thumb.offsetWidth;
        const left = Math.min(free, Math.max(0, startLeft + (mx - startX) / scale));
        dragged = this.minimum + (free > 0 ? Math.round(left / free * (this.maximum - this.minimum)) : 0);
        this.thumb.style.left = `${left}px`;
      },
      release: () => this.setValue(dragged),
    };
  }

  layOut(value = this.value) {
    const height = this.element.clientHeight;
    this.back.style.width = this.forward.style.width = `${height}px`;
    const length = this.track.clientWidth;
    const range = this.maximum - this.minimum;
    // The page's share of the track, truncated as the desktop's bar does.
    const thumb = Math.min(length, Math.max(kMinimumThumb, Math.floor(length * this.pageStep / (range + this.pageStep))));
    this.thumb.style.width = `${thumb}px`;
    this.thumb.style.left = `${range > 0 ? Math.round((value - this.minimum) / range * (length - thumb)) : 0}px`;
    this.layOutReach(height);
  }

  // The reach covers the rooms of both arrows and the height of a finger,
  // in the window's own pixels.
  layOutReach(height) {
    const box = this.element.getBoundingClientRect();
    const scale = box.height / (this.element.offsetHeight || 1) || 1;
    const room = kTouchTarget / scale;
    const outside = Math.max(0, room - height);
    const tall = Math.max(room, height);
    Object.assign(this.reach.style, {
      left: `${-outside}px`, right: `${-outside}px`, top: `${(height - tall) / 2}px`, height: `${tall}px`,
    });
  }
}

// A press at (x, y) goes to the bar that takes it, which need not be the
// one it landed on.
function pressAt(x, y, touch) {
  const taker = ScrollBar.takerAt(x, y, touch);
  return taker && taker.bar.press(taker.part, x, y, touch);
}

function part(className) {
  const element = document.createElement('div');
  element.className = className;
  element.setAttribute('aria-hidden', 'true');
  return element;
}

// The room a part has for a finger, on the screen: at least kTouchTarget
// square, the arrows' growing outwards only, the track's in height only.
// The thumb's takes at most half the track on either side of it, so that
// on a bar shorter than a finger's room the track still takes a touch.
function touchRoom(name, box, track) {
  const width = name === 'track' ? box.width : Math.max(box.width, kTouchTarget);
  const height = Math.max(box.height, kTouchTarget);
  const top = (box.top + box.bottom - height) / 2;
  let left = (box.left + box.right - width) / 2;
  if (name === 'back') left = box.right - width;
  if (name === 'forward' || name === 'track') left = box.left;
  if (name !== 'thumb') return { left, top, right: left + width, bottom: top + height };
  return { left: Math.max(left, (box.left + track.left) / 2), top,
           right: Math.min(left + width, (box.right + track.right) / 2), bottom: top + height };
}

function inside(box, x, y) {
  return x >= box.left && x < box.right && y >= box.top && y < box.bottom;
}

function distance(box, x, y) {
  const dx = Math.max(box.left - x, 0, x - box.right);
  const dy = Math.max(box.top - y, 0, y - box.bottom);
  return Math.hypot(dx, dy);
}

// Presses on an element by a mouse's main button, a pen or a finger:
// onPress(x, y, touch) starts one and gives back { move(x, y), release() },
// or null to let it be. Pointer Events where the browser has them, else
// mouse and touch events (Safari 12). A press let be leaves the focus where
// it was. Gives back the way to stop listening.
function listenForPresses(element, onPress) {
  if (window.PointerEvent) {
    // A press taken here sends no mouse events, its pointerdown being
    // cancelled: a mousedown is one let be, or a tap the browser moved
    // onto the element, and it would focus the element.
    const keepFocus = (event) => event.preventDefault();
    // A finger's press is taken from the browser's gestures too, by its
    // touchstart, which comes after the pointerdown: a quick flick on the
    // thumb would otherwise count as a fling, and the browser would swallow
    // the next tap anywhere on the page, as the tap that stops it.
    let fingerTaken = false;
    const down = (event) => {
      fingerTaken = false;
      if (!event.isPrimary || event.button !== 0) return;
      const press = onPress(event.clientX, event.clientY, event.pointerType === 'touch');
      if (!press) return;
      event.preventDefault();
      fingerTaken = event.pointerType === 'touch';
      const id = event.pointerId;
      element.setPointerCapture(id);
      follow(element, ['pointermove', 'pointerup', 'pointercancel'], press,
             (e) => (e.pointerId === id ? { x: e.clientX, y: e.clientY } : null));
    };
    const touchStart = (event) => {
      if (fingerTaken) event.preventDefault();
      fingerTaken = false;
    };
    element.addEventListener('pointerdown', down);
    element.addEventListener('touchstart', touchStart, { passive: false });
    element.addEventListener('mousedown', keepFocus);
    return () => {
      element.removeEventListener('pointerdown', down);
      element.removeEventListener('touchstart', touchStart, { passive: false });
      element.removeEventListener('mousedown', keepFocus);
    };
  }

  const mouseDown = (event) => {
    const press = event.button === 0 && onPress(event.clientX, event.clientY, false);
    event.preventDefault();
    if (!press) return;
    follow(document, ['mousemove', 'mouseup'], press, (e) => ({ x: e.clientX, y: e.clientY }));
  };
  const touchStart = (event) => {
    const touch = event.changedTouches[0];
    if (event.touches.length !== 1) return;
    const press = onPress(touch.clientX, touch.clientY, true);
    if (!press) return;
    // No mouse events after it, and no scrolling or zooming from it.
    event.preventDefault();
    const id = touch.identifier;
    follow(element, ['touchmove', 'touchend', 'touchcancel'], press, (e) => {
      for (let i = 0; i < e.changedTouches.length; ++i) {
        const t = e.changedTouches[i];
        if (t.identifier === id) return { x: t.clientX, y: t.clientY };
      }
      return null;
    });
  };
  element.addEventListener('mousedown', mouseDown);
  element.addEventListener('touchstart', touchStart, { passive: false });
  return () => {
    element.removeEventListener('mousedown', mouseDown);
    element.removeEventListener('touchstart', touchStart, { passive: false });
  };
}

// Follows one press to its end: the first event type moves it, the others
// end it; where(event) gives the press's point, or null for another pointer
// or finger. It lets go of the events when the press ends.
function follow(target, [moveType, ...endTypes], press, where) {
  const move = (e) => {
    const at = where(e);
    if (at) press.move(at.x, at.y);
  };
  const end = (e) => {
    if (!where(e)) return;
    target.removeEventListener(moveType, move);
    for (const type of endTypes) target.removeEventListener(type, end);
    press.release();
  };
  target.addEventListener(moveType, move);
  for (const type of endTypes) target.addEventListener(type, end);
}
