// The page side of the fill pass. Injected into the application's isolated world of every
// top-level document as it is created, after qwebchannel.js; the page's own scripts cannot see or
// change it.
// Formats of snapshots, plans and reports: autofill/FillPlan.h.
//
// formtideFill.snapshot() reads the document and its same-origin frames' documents, keeps the
// elements read, and returns the snapshot (scope "page") as a JSON string. The script also offers
// snapshots by itself through bridge.offer(): of the whole page for the load pass (scope "page",
// see prepareLoadPass(); the plan lands as the document's load event fires, or as
// formtideFill.loaded() asks first), of a same-origin frame's document each time one finishes
// loading after that (scope "frame"; one that loads before is covered by the load pass), and of
// form fields that appear after a pass (scope "added"), once the page has been quiet for
// QUIET_MS, or MAX_WAIT_MS after the first of them at the latest.
//
// Plans arrive through bridge signal planReady and are applied to the elements kept for the
// snapshot they name; the outcome goes back through bridge.report(). A trusted submit event (the
// user's own click or key press) of a form in a document where a pass wrote a field is told through
// bridge.submitted(). formtideFill.fields() returns the form fields' current contents.
//
// Every field a pass wrote, and every list it selected in, carries a mark (inline declarations
// marked important, which outrank every rule of the page's style sheets) until the user edits it.
//
// Everything is read and written through the DOM prototypes captured here, never through
// properties of the objects themselves, so that named elements (an <img name="all">, an input
// named "length") cannot stand in for the members used.
var formtideFill = (function () {
    'use strict';

    const QUIET_MS = 300;
    const MAX_WAIT_MS = 1000;
    const KEPT_SNAPSHOTS = 16;
    // A list whose options a page rebuilds every time a selection changes them would otherwise be
    // filled again for as long as the page is open.
    const MAX_REBUILDS = 3;
    const FIELD_SELECTOR = 'input,textarea,select';
    // The mark of a filled field: the colours of a browser's own autofill, over any background image.
    const MAX_TEXT = 200;  // characters of a label or a hint
    const HINT_LEVELS = 3; // ancestors whose preceding siblings may hold a field's hint
    // Elements whose text is no label's: scripts, style sheets, and fields' contents.
    const SILENT_TAGS = new Set(['SCRIPT', 'STYLE', 'NOSCRIPT', 'TEMPLATE', 'TEXTAREA', 'SELECT']);
    const MARK = [['background-color', '#e8f0fe'], ['background-image', 'none'], ['color', '#000000']];

    const own = (proto, name) => Object.getOwnPropertyDescriptor(proto, name);
    const tagNameOf = own(Element.prototype, 'tagName').get;
    const nodeTypeOf = own(Node.prototype, 'nodeType').get;
    const parentOf = own(Node.prototype, 'parentNode').get;
    const ownerDocumentOf = own(Node.prototype, 'ownerDocument').get;
    const isConnected = own(Node.prototype, 'isConnected').get;
    const cloneNode = Node.prototype.cloneNode;
    const firstChildOf = own(Node.prototype, 'firstChild').get;
    const nextSiblingOf = own(Node.prototype, 'nextSibling').get;
    const previousSiblingOf = own(Node.prototype, 'previousSibling').get;
    const previousElementOf = own(Element.prototype, 'previousElementSibling').get;
    const dataOf = own(CharacterData.prototype, 'data').get;
    const elementById = Document.prototype.getElementById;
    const styleOf = own(HTMLElement.prototype, 'style').get;
    const setProperty = CSSStyleDeclaration.prototype.setProperty;
    const removeProperty = CSSStyleDeclaration.prototype.removeProperty;
    const propertyValue = CSSStyleDeclaration.prototype.getPropertyValue;
    const propertyPriority = CSSStyleDeclaration.prototype.getPropertyPriority;
    const cssTextOf = own(CSSStyleDeclaration.prototype, 'cssText').get;
    const hasAttribute = Element.prototype.hasAttribute;
    const removeAttribute = Element.prototype.removeAttribute;
    const comparePosition = Node.prototype.compareDocumentPosition;
    const getAttribute = Element.prototype.getAttribute;
    const querySelectorAll = Element.prototype.querySelectorAll;
    const documentQuerySelectorAll = Document.prototype.querySelectorAll;
    const elementsByTag = Document.prototype.getElementsByTagName;
    const collectionLength = own(HTMLCollection.prototype, 'length').get;
    const collectionItem = HTMLCollection.prototype.item;
    const nodeListLength = own(NodeList.prototype, 'length').get;
    const nodeListItem = NodeList.prototype.item;
    const selectOptions = own(HTMLSelectElement.prototype, 'options').get;
    const optionText = own(HTMLOptionElement.prototype, 'text').get;
    const optionSelected = own(HTMLOptionElement.prototype, 'selected');
    const selectMultiple = own(HTMLSelectElement.prototype, 'multiple').get;
    const inputValue = own(HTMLInputElement.prototype, 'value');
    const inputType = own(HTMLInputElement.prototype, 'type').get;
    const textAreaValue = own(HTMLTextAreaElement.prototype, 'value');
    const inputMaxLength = own(HTMLInputElement.prototype, 'maxLength').get;
    const textAreaMaxLength = own(HTMLTextAreaElement.prototype, 'maxLength').get;
    const iframeDocument = own(HTMLIFrameElement.prototype, 'contentDocument').get;
    const frameDocument = own(HTMLFrameElement.prototype, 'contentDocument').get;
    const dispatchEvent = EventTarget.prototype.dispatchEvent;
    const addEventListener = EventTarget.prototype.addEventListener;
    const eventTarget = own(Event.prototype, 'target').get;
    const recordTarget = own(MutationRecord.prototype, 'target').get;
    const recordAdded = own(MutationRecord.prototype, 'addedNodes').get;
    const observe = MutationObserver.prototype.observe;
    const stringify = JSON.stringify;
    const parse = JSON.parse;
    const upper = (s) => String.prototype.toUpperCase.call(s);
    const now = () => performance.now();

    const randomWord = () => crypto.getRandomValues(new Uint32Array(2)).join('-');
    const docId = randomWord();
    // Back and Forward bring back what the fields held, which may be what a pass wrote there.
    const navigation = performance.getEntriesByType('navigation')[0];
    const reachedByHistory = navigation !== undefined && navigation.type === 'back_forward';
    let snapshots = 0;
    // token -> {elements, tags, names, options: Map(i -> option elements), frameStarts}. A snapshot
    // of the whole page replaces all of them; the oldest go past KEPT_SNAPSHOTS.
    const kept = new Map();
    const seen = new WeakSet();    // fields that a snapshot has listed
    const edited = new WeakSet();  // fields that the user changed (trusted input or change events)
    const watched = new WeakSet(); // documents observed for frame loads, new fields and edits
    const filledDocs = new WeakSet(); // documents in which a pass wrote at least one field
    const ours = new WeakMap();    // field -> the value a pass left in it, until the user edits it
    const marks = new WeakMap();   // marked field -> what its style attribute held before the mark
    let loadDone = false;          // the load event fired, or the program asked first
    let early = null;              // the load pass's snapshot taken before the load event
    const rebuilt = new WeakMap(); // list -> how often its options were rebuilt after a pass saw it
    let added = new Set();         // fields that appeared since the last "added" snapshot
    let firstAddedAt = 0;
    let lastChangeAt = 0;
    let addedTimer = 0;
    let userActing = false;        // a trusted click or key press is being handled
    let bridge = null;
    const outbox = [];             // offers made before the channel was up

    // The upper-cased tag name of an element, or null when it cannot be read.
    function tagOf(element) {
        try {
            return upper(tagNameOf.call(element));
        } catch (e) {
            return null;
        }
    }

    function frameContent(element, tag) {
        try {
            if (tag === 'IFRAME')
                return iframeDocument.call(element);
            if (tag === 'FRAME')
                return frameDocument.call(element);
        } catch (e) {
            // A frame that cannot be reached is left alone.
        }
        return null;
    }

    // The documents `roots` and every same-origin frame's document inside them, each in the order
    // its frame element is met: their elements in document order, one document after the other,
    // with their upper-cased tag names (null when a tag cannot be read) and the position where each
    // document starts. Every document reached is watched from then on.
    function collect(roots) {
        const docs = roots.slice();
        const elements = [];
        const tags = [];
        const frameStarts = [];
        for (let d = 0; d < docs.length; ++d) {
            watch(docs[d]);
            frameStarts.push(elements.length);
            const all = elementsByTag.call(docs[d], '*');
            const count = collectionLength.call(all);
            for (let i = 0; i < count; ++i) {
                const element = collectionItem.call(all, i);
                const tag = tagOf(element);
                elements.push(element);
                tags.push(tag);
                if (tag === 'IFRAME' || tag === 'FRAME') {
                    const inner = frameContent(element, tag);
                    if (inner)
                        docs.push(inner);
                }
            }
        }
        return {elements, tags, frameStarts};
    }

    // What a text-like field holds, as the fill rules judge it: null when nothing, true when what a
    // pass left there.
    function heldBy(element, tag) {
        const value = (tag === 'INPUT' ? inputValue : textAreaValue).get.call(element);
        if (value === '')
            return null;
        if (ours.get(element) === value)
            return true;
        const held = {value};
        const placeholder = getAttribute.call(element, 'placeholder');
        if (placeholder)
            held.placeholder = placeholder;
        let handlers = '';
        for (const handler of ['onfocus', 'onclick', 'onblur']) {
            const text = getAttribute.call(element, handler);
            if (text)
                handlers += text + '\n';
        }
        if (handlers)
            held.handlers = handlers;
        return held;
    }

    // Collapses white space and keeps at most MAX_TEXT characters.
    function collapse(text) {
        return text.replace(/\s+/g, ' ').trim().slice(0, MAX_TEXT);
    }

    // The text inside `node`, leaving out scripts, style sheets and the contents of lists and text
    // areas; it stops gathering once there is more than a label needs.
    function textOf(node) {
        let text = '';
        let at = node;
        while (at !== null) {
            let descend = false;
            const type = nodeTypeOf.call(at);
            if (type === 3) {
                text += dataOf.call(at);
                if (text.length > 4 * MAX_TEXT)
                    break;
            } else if (type === 1) {
                descend = !SILENT_TAGS.has(tagOf(at));
            }
            let next = descend ? firstChildOf.call(at) : null;
            while (next === null && at !== node) {
                next = nextSiblingOf.call(at);
                if (next === null)
                    at = parentOf.call(at);
            }
            at = next;
        }
        return collapse(text);
    }

    // id -> the text of the LABEL elements naming it with their for attribute, for one document.
    function labelsOf(doc) {
        const labels = new Map();
        const all = elementsByTag.call(doc, 'label');
        for (let i = 0, n = collectionLength.call(all); i < n; ++i) {
            const label = collectionItem.call(all, i);
            const target = getAttribute.call(label, 'for');
            if (!target)
                continue;
            const text = textOf(label);
            if (text)
                labels.set(target, labels.has(target) ? collapse(labels.get(target) + ' ' + text) : text);
        }
        return labels;
    }

    function labelOf(element, id, labels) {
        if (id) {
            const text = labels().get(id);
            if (text)
                return text;
        }
        for (let up = parentOf.call(element); up !== null && nodeTypeOf.call(up) === 1; up = parentOf.call(up)) {
            if (tagOf(up) === 'LABEL') {
                const text = textOf(up);
                if (text)
                    return text;
                break;
            }
        }
        const labelledBy = getAttribute.call(element, 'aria-labelledby');
        if (labelledBy) {
            const doc = ownerDocumentOf.call(element);
            const texts = [];
            for (const ref of labelledBy.split(/\s+/)) {
                const by = ref ? elementById.call(doc, ref) : null;
                if (by !== null)
                    texts.push(textOf(by));
            }
            const text = collapse(texts.join(' '));
            if (text)
                return text;
        }
        return collapse(getAttribute.call(element, 'aria-label') || '');
    }

    // The text just before a field without a label: the previous cell's in a table, else that of
    // the nearest preceding sibling with text, up to HINT_LEVELS levels up; another visible field
    // in between ends the search, since the text before it is that field's.
    function hintOf(element) {
        const cell = parentOf.call(element);
        if (cell !== null && nodeTypeOf.call(cell) === 1) {
            const tag = tagOf(cell);
            if (tag === 'TD' || tag === 'TH') {
                for (let before = previousElementOf.call(cell); before !== null; before = previousElementOf.call(before)) {
                    const text = textOf(before);
                    if (text)
                        return text;
                }
                return '';
            }
        }
        let at = element;
        for (let level = 0; level <= HINT_LEVELS && at !== null; ++level) {
            for (let before = previousSiblingOf.call(at); before !== null; before = previousSiblingOf.call(before)) {
                const type = nodeTypeOf.call(before);
                if (type === 1) {
                    const tag = tagOf(before);
                    if (tag === 'TEXTAREA' || tag === 'SELECT' ||
                        (tag === 'INPUT' && inputType.call(before) !== 'hidden'))
                        return '';
                } else if (type !== 3) {
                    continue;
                }
                const text = textOf(before);
                if (text)
                    return text;
            }
            at = parentOf.call(at);
            if (at !== null && nodeTypeOf.call(at) !== 1)
                break;
        }
        return '';
    }

    // The snapshot's entry of a form field (format: autofill/FillPlan.h); `labels` gives the
    // field's document's label map.
    function fieldEntry(element, tag, labels) {
        const entry = {tag};
        const name = getAttribute.call(element, 'name');
        if (name)
            entry.name = name;
        const id = getAttribute.call(element, 'id');
        if (id)
            entry.id = id;
        if (tag === 'INPUT')
            entry.type = (inputType.call(element) || 'text').toLowerCase();
        const label = labelOf(element, id, labels);
        if (label) {
            entry.label = label;
        } else {
            const hint = hintOf(element);
            if (hint)
                entry.hint = hint;
        }
        for (const attribute of ['placeholder', 'title', 'autocomplete']) {
            const value = getAttribute.call(element, attribute);
            if (value)
                entry[attribute] = value;
        }
        if (tag === 'SELECT') {
            const list = selectOptions.call(element);
            const count = collectionLength.call(list);
            const texts = new Array(count);
            const selected = [];
            for (let k = 0; k < count; ++k) {
                const item = collectionItem.call(list, k);
                texts[k] = collapse(optionText.call(item));
                if (optionSelected.get.call(item))
                    selected.push(k);
            }
            entry.options = texts;
            if (selected.length > 0)
                entry.selected = selected;
            if (selectMultiple.call(element))
                entry.multiple = true;
        } else {
            const maxLength = (tag === 'INPUT' ? inputMaxLength : textAreaMaxLength).call(element);
            if (maxLength >= 0)
                entry.maxlength = maxLength;
            const held = heldBy(element, tag);
            if (held !== null)
                entry.held = held;
        }
        return entry;
    }

    // `page` (as collect() returns it) as the snapshot lists its documents, with the names and the
    // option elements that a plan made from it needs.
    function describe(page) {
        const {elements, tags, frameStarts} = page;
        const names = new Map();
        const options = new Map();
        const result = [];
        let fieldCount = 0;
        for (let d = 0; d < frameStarts.length; ++d) {
            const end = d + 1 < frameStarts.length ? frameStarts[d + 1] : elements.length;
            const row = [];
            let others = 0; // elements that are not form fields, given as one count
            let labelMap = null;
            const labels = () => labelMap || (labelMap = labelsOf(ownerDocumentOf.call(elements[frameStarts[d]])));
            for (let at = frameStarts[d]; at < end; ++at) {
                const element = elements[at];
                const tag = tags[at];
                if (tag !== null && tag !== 'INPUT' && tag !== 'TEXTAREA' && tag !== 'SELECT') {
                    ++others;
                    continue;
                }
                if (others > 0) {
                    row.push(others);
                    others = 0;
                }
                if (tag === null) {
                    row.push(null);
                    continue;
                }
                seen.add(element);
                ++fieldCount;
                try {
                    const entry = fieldEntry(element, tag, labels);
                    names.set(at, entry.name || '');
                    if (tag === 'SELECT')
                        options.set(at, collectOptions(element));
                    row.push(entry);
                } catch (e) {
                    row.push(null);
                }
            }
            if (others > 0)
                row.push(others);
            result.push(row);
        }
        return {docs: result, names, options, fieldCount};
    }

    function collectOptions(element) {
        const list = selectOptions.call(element);
        const count = collectionLength.call(list);
        const items = new Array(count);
        for (let k = 0; k < count; ++k)
            items[k] = collectionItem.call(list, k);
        return items;
    }

    // Lists `page` (as collect() returns it) as a snapshot of `scope` and keeps its elements:
    // {token, docs, json}, json being the snapshot's text; null when `onlyFields` and there is no
    // form field.
    function take(scope, page, onlyFields) {
        const {docs, names, options, fieldCount} = describe(page);
        if (onlyFields && fieldCount === 0)
            return null;
        const token = docId + '/' + (++snapshots) + '/' + randomWord();
        if (scope === 'page')
            kept.clear();
        const {elements, tags, frameStarts} = page;
        kept.set(token, {elements, tags, names, options, frameStarts});
        for (const old of kept.keys()) {
            if (kept.size <= KEPT_SNAPSHOTS)
                break;
            kept.delete(old);
        }
        const listed = reachedByHistory ? {token, doc: docId, scope, nav: 'back_forward', docs}
                                        : {token, doc: docId, scope, docs};
        return {token, docs, json: stringify(listed)};
    }

    function snapshot() {
        connect();
        return take('page', collect([document]), false).json;
    }

    function send(json) {
        if (bridge !== null && !bridge.pending)
            bridge.offer(json);
        else
            outbox.push(json);
    }

    function offer(scope, page) {
        const taken = take(scope, page, true);
        if (taken !== null)
            send(taken.json);
    }

    // The load pass. Its snapshot is taken as the script starts, once the document's DOM is
    // complete, and its plan is made while the page goes on loading. When the load event fires, the
    // plan lands at once if the page's elements are still exactly those the snapshot read, and read
    // the same; otherwise a snapshot is taken anew then. Either way every field is judged on what it
    // holds as the document completes.
    function prepareLoadPass() {
        connect();
        const page = collect([document]);
        const taken = take('page', page, false);
        early = {token: taken.token, docs: stringify(taken.docs), elements: page.elements, plan: null};
        send(taken.json);
    }

    function unchangedSinceEarly() {
        if (!kept.has(early.token))
            return false; // a newer snapshot of the whole page was taken
        const page = collect([document]);
        const count = page.elements.length;
        if (count !== early.elements.length)
            return false;
        for (let i = 0; i < count; ++i) {
            if (page.elements[i] !== early.elements[i])
                return false;
        }
        return stringify(describe(page).docs) === early.docs;
    }

    // Drops the early snapshot for a new one of the page as it is now; a plan held for it is
    // answered as stale.
    function retakeLoadPass() {
        if (early.plan !== null)
            bridge.report(stringify({token: early.token, status: 'stale'}));
        early = null;
        send(take('page', collect([document]), false).json);
    }

    // The document's load event, or the program asking first (formtideFill.loaded()).
    function loaded() {
        if (loadDone)
            return true;
        loadDone = true;
        connect();
        if (early === null) {
            send(take('page', collect([document]), false).json);
        } else if (!unchangedSinceEarly()) {
            retakeLoadPass();
        } else if (early.plan !== null) {
            const plan = early.plan;
            early = null;
            apply(docId, plan);
        }
        return true;
    }

    function frameOf(starts, at) {
        let frame = 0;
        while (frame + 1 < starts.length && starts[frame + 1] <= at)
            ++frame;
        return frame;
    }

    function mark(element) {
        const style = styleOf.call(element);
        if (marks.has(element) && propertyPriority.call(style, MARK[0][0]) === 'important')
            return; // marked already
        if (!marks.has(element)) {
            marks.set(element, {
                hadStyle: hasAttribute.call(element, 'style'),
                kept: MARK.map(([property]) =>
                    [propertyValue.call(style, property), propertyPriority.call(style, property)]),
            });
        }
        for (const [property, value] of MARK)
            setProperty.call(style, property, value, 'important');
    }

    // Puts back the field's own declarations of the marked properties; the rest of its style
    // attribute stays as it is now.
    function unmark(element) {
        const before = marks.get(element);
        if (!before)
            return;
        marks.delete(element);
        const style = styleOf.call(element);
        MARK.forEach(([property], i) => {
            const [value, priority] = before.kept[i];
            if (value)
                setProperty.call(style, property, value, priority);
            else
                removeProperty.call(style, property);
        });
        if (!before.hadStyle && cssTextOf.call(style) === '')
            removeAttribute.call(element, 'style');
    }

    function fire(element, type) {
        dispatchEvent.call(element, new Event(type, {bubbles: true, composed: true}));
    }

    // Whether `element` keeps `value` exactly, tried on a detached copy so that the field itself
    // is not touched when it does not.
    function keeps(element, value) {
        const probe = cloneNode.call(element, false);
        inputValue.set.call(probe, value);
        return inputValue.get.call(probe) === value;
    }

    function apply(doc, text) {
        if (!text)
            return; // ready() found nothing held
        const plan = parse(text);
        if (early !== null && doc === docId && plan.token === early.token) {
            if (!loadDone) {
                early.plan = text;
                return;
            }
            if (!unchangedSinceEarly()) {
                early.plan = text; // answered as stale with the retake
                retakeLoadPass();
                return;
            }
            early = null;
        }
        const current = doc === docId ? kept.get(plan.token) : undefined;
        if (!current) {
            bridge.report(stringify({token: plan.token, status: 'stale'}));
            return;
        }
        kept.delete(plan.token);
        let written = 0;
        let lists = 0;
        const refused = [];
        const refuse = (at, reason) =>
            refused.push([at, frameOf(current.frameStarts, at), current.names.get(at) || '', reason]);
        for (const write of plan.writes) {
            const at = write[0];
            const element = current.elements[at];
            const tag = current.tags[at];
            try {
                if (Array.isArray(write[1])) {
                    const items = current.options.get(at);
                    for (const k of write[1])
                        optionSelected.set.call(items[k], true);
                    fire(element, 'change');
                    filledDocs.add(ownerDocumentOf.call(element));
                    mark(element);
                    ++lists;
                } else {
                    if (tag === 'INPUT') {
                        if (write[2] === true && !keeps(element, write[1])) {
                            refuse(at, 'ValueNotKept');
                            continue;
                        }
                        inputValue.set.call(element, write[1]);
                        ours.set(element, inputValue.get.call(element));
                    } else if (tag === 'TEXTAREA') {
                        textAreaValue.set.call(element, write[1]);
                        ours.set(element, textAreaValue.get.call(element));
                    } else {
                        throw new TypeError('no value');
                    }
                    fire(element, 'input');
                    fire(element, 'change');
                    filledDocs.add(ownerDocumentOf.call(element));
                    mark(element);
                    ++written;
                }
            } catch (e) {
                refuse(at, e && typeof e.name === 'string' ? e.name : 'Error');
            }
        }
        bridge.report(stringify({token: plan.token, status: 'applied', written, lists, refused}));
    }

    // A frame element in a watched document finished loading a document: a pass over that
    // document (and the same-origin frames inside it) only. Cross-origin documents are not reached.
    function frameLoaded(event) {
        if (!loadDone)
            return;
        const element = eventTarget.call(event);
        const tag = tagOf(element);
        if (tag !== 'IFRAME' && tag !== 'FRAME')
            return;
        const inner = frameContent(element, tag);
        if (inner)
            offer('frame', collect([inner]));
    }

    function userEdited(event) {
        if (!event.isTrusted)
            return;
        const field = eventTarget.call(event);
        edited.add(field);
        ours.delete(field);
        unmark(field);
    }

    // The user sent a form when its submit event comes while a trusted click or key press is being
    // handled: form.submit() fires no event, a dispatched one is untrusted, and requestSubmit() or
    // a button's click() give trusted ones, so trust alone does not tell the user from the page.
    function userActed(event) {
        if (!event.isTrusted || userActing)
            return;
        userActing = true;
        setTimeout(() => { userActing = false; }, 0);
    }

    function formSent(event) {
        if (!event.isTrusted || !userActing || bridge === null || bridge.pending)
            return;
        if (filledDocs.has(ownerDocumentOf.call(eventTarget.call(event))))
            bridge.submitted();
    }

    function fieldAdded(field) {
        if (!seen.has(field))
            added.add(field);
    }

    // Notes the fields that the records add, and a list whose options were rebuilt after a pass saw
    // it (which makes it unseen again, MAX_REBUILDS times at most); while fields are waiting, every
    // change of the page puts the pass off, up to MAX_WAIT_MS after the first of them.
    function pageChanged(records) {
        for (const record of records) {
            const nodes = recordAdded.call(record);
            const count = nodeListLength.call(nodes);
            if (count === 0)
                continue;
            let list = recordTarget.call(record);
            if (nodeTypeOf.call(list) === 1 && tagOf(list) === 'OPTGROUP')
                list = parentOf.call(list);
            if (list !== null && nodeTypeOf.call(list) === 1 && tagOf(list) === 'SELECT' && seen.has(list)) {
                const rebuilds = (rebuilt.get(list) || 0) + 1;
                rebuilt.set(list, rebuilds);
                if (rebuilds <= MAX_REBUILDS) {
                    seen.delete(list);
                    added.add(list);
                }
            }
            for (let i = 0; i < count; ++i) {
                const node = nodeListItem.call(nodes, i);
                if (nodeTypeOf.call(node) !== 1)
                    continue;
                const tag = tagOf(node);
                if (tag === 'INPUT' || tag === 'TEXTAREA' || tag === 'SELECT')
                    fieldAdded(node);
                const inner = querySelectorAll.call(node, FIELD_SELECTOR);
                for (let k = 0, n = nodeListLength.call(inner); k < n; ++k)
                    fieldAdded(nodeListItem.call(inner, k));
            }
        }
        if (added.size === 0)
            return;
        lastChangeAt = now();
        if (addedTimer === 0) {
            firstAddedAt = lastChangeAt;
            addedTimer = setTimeout(addedDue, QUIET_MS);
        }
    }

    // The timer is never put off by the page itself: a page whose own timers run back to back
    // would otherwise always come first.
    function addedDue() {
        const at = now();
        const quietFor = at - lastChangeAt;
        if (quietFor >= QUIET_MS || at - firstAddedAt >= MAX_WAIT_MS) {
            offerAdded();
            return;
        }
        addedTimer = setTimeout(addedDue, Math.min(QUIET_MS - quietFor, firstAddedAt + MAX_WAIT_MS - at));
    }

    // Offers the fields that appeared, are still in a document, and neither a pass has seen nor
    // the user has edited since, grouped by document in the page's order of documents.
    function offerAdded() {
        const fields = added;
        added = new Set();
        addedTimer = 0;
        const byDoc = new Map();
        for (const field of fields) {
            if (seen.has(field) || edited.has(field) || !isConnected.call(field))
                continue;
            const doc = ownerDocumentOf.call(field);
            if (!byDoc.has(doc))
                byDoc.set(doc, []);
            byDoc.get(doc).push(field);
        }
        if (byDoc.size === 0)
            return;
        const page = {elements: [], tags: [], frameStarts: []};
        for (const doc of collectDocuments()) {
            const fieldsOfDoc = byDoc.get(doc);
            if (!fieldsOfDoc)
                continue;
            fieldsOfDoc.sort((a, b) => (comparePosition.call(a, b) & Node.DOCUMENT_POSITION_FOLLOWING ? -1 : 1));
            page.frameStarts.push(page.elements.length);
            for (const field of fieldsOfDoc) {
                page.elements.push(field);
                page.tags.push(tagOf(field));
            }
        }
        offer('added', page);
    }

    // The top-level document and the same-origin frames' documents, in the order of collect().
    function collectDocuments() {
        const docs = [document];
        for (let d = 0; d < docs.length; ++d) {
            const frames = documentQuerySelectorAll.call(docs[d], 'iframe,frame');
            for (let i = 0, n = nodeListLength.call(frames); i < n; ++i) {
                const element = nodeListItem.call(frames, i);
                const inner = frameContent(element, tagOf(element));
                if (inner)
                    docs.push(inner);
            }
        }
        return docs;
    }

    function watch(doc) {
        if (watched.has(doc))
            return;
        watched.add(doc);
        observe.call(new MutationObserver(pageChanged), doc, {childList: true, subtree: true});
        addEventListener.call(doc, 'load', frameLoaded, true);
        addEventListener.call(doc, 'input', userEdited, true);
        addEventListener.call(doc, 'change', userEdited, true);
        for (const type of ['click', 'keydown', 'keypress'])
            addEventListener.call(doc, type, userActed, true);
        addEventListener.call(doc, 'submit', formSent, true);
    }

    // Connects to the program once the channel's transport is there. The program sends a plan
    // only to a document that has said it is ready; a plan made before that comes back as the
    // answer to ready().
    function connect() {
        if (bridge !== null || typeof qt === 'undefined' || !qt.webChannelTransport)
            return;
        bridge = {pending: true};
        new QWebChannel(qt.webChannelTransport, function (channel) {
            bridge = channel.objects.formtideBridge;
            bridge.planReady.connect(apply);
            bridge.ready(docId, (held) => apply(docId, held));
            for (const json of outbox.splice(0))
                bridge.offer(json);
        });
    }

    // Rows [frame, tag, type, name, value or [selected positions]] for every INPUT, TEXTAREA and
    // SELECT element, in the order of the snapshot's documents (format: autofill/Browser.h).
    function fields() {
        const rows = [];
        const {elements, tags, frameStarts} = collect([document]);
        for (let d = 0; d < frameStarts.length; ++d) {
            const end = d + 1 < frameStarts.length ? frameStarts[d + 1] : elements.length;
            for (let at = frameStarts[d]; at < end; ++at) {
                const element = elements[at];
                const tag = tags[at];
                try {
                    const name = getAttribute.call(element, 'name') || '';
                    if (tag === 'INPUT') {
                        rows.push([d, 'input', inputType.call(element), name, inputValue.get.call(element)]);
                    } else if (tag === 'TEXTAREA') {
                        rows.push([d, 'textarea', '', name, textAreaValue.get.call(element)]);
                    } else if (tag === 'SELECT') {
                        const list = selectOptions.call(element);
                        const count = collectionLength.call(list);
                        const selected = [];
                        for (let k = 0; k < count; ++k) {
                            if (optionSelected.get.call(collectionItem.call(list, k)))
                                selected.push(k);
                        }
                        rows.push([d, 'select', '', name, selected]);
                    }
                } catch (e) {
                    // An element that cannot be read is not listed.
                }
            }
        }
        return stringify(rows);
    }

    // Injected as the document is created: the channel to the program opens while the page is
    // parsed, and the page is read once its DOM is complete.
    function start() {
        for (const doc of collectDocuments())
            watch(doc);
        if (document.readyState === 'complete') {
            loaded();
        } else {
            addEventListener.call(window, 'load', loaded);
            prepareLoadPass();
        }
    }

    connect();
    if (document.readyState === 'loading')
        addEventListener.call(document, 'DOMContentLoaded', start);
    else
        start();
    return {snapshot, loaded, fields};
})();
