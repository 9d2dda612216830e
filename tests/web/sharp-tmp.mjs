import { launch, open, canvasPixels } from './page.mjs';
const b = await launch();
for (const [w,h,r] of [[768,1024,2],[1920,1080,1],[844,390,3],[1024,768,2]]) {
  const page = await open(b, { ratio: r, device: { viewport: { width: w, height: h }, hasTouch: r > 1, isMobile: r > 1 } });
  await page.evaluate(() => document.getElementById('Form2-Command1').click());
  await page.evaluate(() => { const f = window.vorel.title.m_form1; for (const [n,v] of [['HScroll1',20],['HScroll2',10],['HScroll3',10],['HScroll4',20],['HScroll7',100]]) f[n].setValue(v); f.Command3_Click(); });
  const rect = await page.evaluate(() => { const c = document.querySelector('#Form1-Picture1 canvas'); const q = c.getBoundingClientRect(); return { x: q.left, y: q.top, width: q.width, height: q.height, cw: c.width, ch: c.height, t: c.style.transform, dpr: devicePixelRatio }; });
  const png = await page.screenshot({ clip: { x: rect.x, y: rect.y, width: rect.width, height: rect.height }, scale: 'device' });
  const shot = await page.evaluate(async (b64) => {
    const img = new Image(); img.src = 'data:image/png;base64,' + b64; await img.decode();
    const c = document.createElement('canvas'); c.width = img.width; c.height = img.height;
    const x = c.getContext('2d'); x.drawImage(img, 0, 0);
    return { w: img.width, h: img.height, data: Array.from(x.getImageData(0, 0, img.width, img.height).data) };
  }, png.toString('base64'));
  const mine = await canvasPixels(page);
  let same = 0, total = 0, bestDx = null;
  for (const [dx, dy] of [[0,0],[1,0],[0,1],[1,1],[-1,0],[0,-1]]) {
    let s2 = 0, t2 = 0;
    for (let y = 2; y < Math.min(shot.h, mine.height) - 2; y++) for (let x = 2; x < Math.min(shot.w, mine.width) - 2; x++) {
      const a = (y * shot.w + x) * 4, bb = ((y + dy) * mine.width + x + dx) * 4; t2++;
      if (shot.data[a] === mine.data[bb] && shot.data[a+1] === mine.data[bb+1] && shot.data[a+2] === mine.data[bb+2]) s2++;
    }
    console.log(w, h, r, JSON.stringify(rect), 'shot', shot.w, shot.h, 'dx', dx, dy, (s2 / t2).toFixed(5));
  }
  await page.context().close();
}
await b.close();
