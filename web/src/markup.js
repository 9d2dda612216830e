// How a window and its plain controls (labels, buttons, pictures) look as
// elements. One description serves twice: the build writes the title window
// with it as HTML into the page, so that it is painted before the core is
// even compiled, and the page makes the main window's elements with it.
// Nothing here may touch the document when the module loads: the build
// runs it under Node.

const kPicture = 'PICTURE_DATA_URI';

// The program's font in CSS: the table's family, then Liberation Sans, which
// has Arial's metrics where Arial is missing, then any sans-serif.
export function fontStack(family) {
  return `${family}, "Liberation Sans", sans-serif`;
}

const kWindowBorder = 1; // CSS px

export function windowShape(table) {
  return {
    tag: 'div', id: table.name, className: 'window', text: '', attributes: {},
    style: {
      width: `${table.clientWidth}px`, height: `${table.clientHeight}px`, borderWidth: `${kWindowBorder}px`,
      font: `${table.fontPoints}pt ${fontStack(table.fontFamily)}`,
    },
  };
}

// The window's size on the page, its border included, before any scaling.
export function windowSize(table) {
  return { width: table.clientWidth + 2 * kWindowBorder, height: table.clientHeight + 2 * kWindowBorder };
}

// Every control sits at twips / 15 CSS pixels, in its own font size.
export function placeStyle(row) {
  const { left, top, width, height } = row.pixels;
  return {
    left: `${left}px`, top: `${top}px`, width: `${width}px`, height: `${height}px`,
    fontSize: `${row.fontPoints}pt`,
  };
}

// The label that heads its window, for a screen reader that jumps by
// headings: the title window's title.
const kHeadings = { Form2: 'Label1' };

// Sliders and the plot box are made by their own classes: no shape here.
export function controlShape(table, row) {
  const id = `${table.name}-${row.name}`;
  const style = placeStyle(row);
  switch (row.kind) {
    case 'label': {
      const tag = kHeadings[table.name] === row.name ? 'h1' : 'div';
      return { tag, id, className: `label ${row.look}`, text: row.text, attributes: {}, style };
    }
    case 'button':
      return { tag: 'button', id, className: '', text: row.text, attributes: { type: 'button' }, style };
    case 'picture':
      return { tag: 'img', id, className: '', text: '', attributes: { src: kPicture, alt: row.text }, style };
  }
  return null;
}

// The controls in the order of their tab index, so that Tab follows the
// desktop; those that never take the focus go last.
export function inTabOrder(controls) {
  const order = (row) => (row.tabIndex < 0 ? Number.MAX_SAFE_INTEGER : row.tabIndex);
  return controls.slice().sort((a, b) => order(a) - order(b));
}

export function shapeElement(shape) {
  const element = document.createElement(shape.tag);
  element.id = shape.id;
  if (shape.className) element.className = shape.className;
  for (const name of Object.keys(shape.attributes)) element.setAttribute(name, shape.attributes[name]);
  Object.assign(element.style, shape.style);
  if (shape.text) element.textContent = shape.text;
  return element;
}

// A window whose controls are all plain, as HTML.
export function windowHtml(table) {
  const inner = inTabOrder(table.controls).map((row) => {
    const shape = controlShape(table, row);
    if (!shape) throw new Error(`${table.name}-${row.name} is not plain markup`);
    return shapeHtml(shape, '');
  });
  return shapeHtml(windowShape(table), `\n${inner.join('\n')}\n`);
}

function shapeHtml(shape, inner) {
  const style = Object.keys(shape.style)
    .map((name) => `${name.replace(/[A-Z]/g, (c) => `-${c.toLowerCase()}`)}: ${shape.style[name]}`).join('; ');
  const attributes = Object.assign({ id: shape.id }, shape.className ? { class: shape.className } : {},
                                   shape.attributes, { style });
  const open = `<${shape.tag}${Object.keys(attributes).map((n) => ` ${n}="${escapeHtml(attributes[n])}"`).join('')}>`;
  return shape.tag === 'img' ? open : `${open}${escapeHtml(shape.text)}${inner}</${shape.tag}>`;
}

function escapeHtml(text) {
  return String(text).replace(/[&<>"]/g, (c) => ({ '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;' })[c]);
}
