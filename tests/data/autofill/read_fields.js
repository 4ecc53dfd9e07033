// Test helper, run in a world of its own: every field of the page and of its reachable frames in
// document order, the page's first, as "name=value" apart by blanks, "frame:name=value" for frame
// 1 and on, "#id" for a field without a name; a list's value is the positions of its selected
// options joined by commas.
(function () {
  const all = (d, s) => Array.from(Document.prototype.querySelectorAll.call(d, s));
  const docs = [document];
  for (const f of all(document, 'iframe')) { if (f.contentDocument) docs.push(f.contentDocument); }
  const out = [];
  docs.forEach((d, i) => {
    for (const e of all(d, 'input,textarea,select')) {
      const name = Element.prototype.getAttribute.call(e, 'name') || '#' + e.id;
      out.push((i ? i + ':' : '') + name + '=' + (e.tagName === 'SELECT'
        ? Array.from(e.options).filter(o => o.selected).map(o => o.index).join(',') : e.value));
    }
  });
  return out.join(' ');
})()
