// Test helper, run in a world of its own: every field of the page and of its reachable frames as
// "frame:name" (or "frame:#id") -> value; a list's value is the positions of its selected options
// joined by commas.
(function () {
  const all = (d, s) => Array.from(Document.prototype.querySelectorAll.call(d, s));
  const docs = [document];
  for (const f of all(document, 'iframe')) { if (f.contentDocument) docs.push(f.contentDocument); }
  const out = {};
  docs.forEach((d, i) => {
    for (const e of all(d, 'input,textarea,select')) {
      const key = i + ':' + (Element.prototype.getAttribute.call(e, 'name') || '#' + e.id);
      out[key] = e.tagName === 'SELECT'
        ? Array.from(e.options).filter(o => o.selected).map(o => o.index).join(',') : e.value;
    }
  });
  return JSON.stringify(out);
})()
