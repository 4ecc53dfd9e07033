// The page side of the fill pass. Injected into the application's isolated world of every
// top-level document as it is created, after qwebchannel.js; the page's own scripts cannot see or
// change it.
// Formats of snapshots, plans and reports: autofill/FillPlan.h.
//
// formtideFill.snapshot() reads the document and its same-origin frames' documents, keeps the
// elements read, and returns the snapshot (scope "page") as a JSON string. The script also offers
// snapshots by itself through bridge.offer(): of the whole page for the load pass (scope "page",
// see loadPass; its plan lands as it comes unless the page changed meanwhile, and the document's
// load event waits for it, a second at most) and whenever the engine shows again a page it kept
// whole for Back or Forward; of a same-origin frame's document each time one finishes loading
// after that (scope "frame"; one that loads before is covered by the load pass); and of form fields
// that appear after a pass (scope "added"), once the page has been quiet for QUIET_MS, or
// MAX_WAIT_MS after the first of them at the latest.
//
// Plans arrive as the answer of bridge.offer() or through bridge signal planReady, and are
// applied to the elements kept for the snapshot they name; the outcome goes back through
// bridge.report(), which names the fields left holding another text than the one written. A
// trusted submit event (the user's own click or key press) of a form in a document where a pass
// wrote a field is told through bridge.submitted(). formtideFill.fields() returns the form fields'
// current contents.
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
    // What a walk reads of a document: its form fields, and the frames whose documents it enters.
    const WALKED = 'input,textarea,select,iframe,frame';
    const MAX_TEXT = 200;  // characters of a label or a hint
    const HINT_LEVELS = 3;   // ancestors whose preceding siblings may hold a field's hint
    const HINT_SIBLINGS = 3; // elements looked at before each of them
    const VISIBLE_FIELDS = 'input:not([type=hidden]),textarea,select';
    // Elements whose text is no label's: scripts, style sheets, and fields' contents.
    const SILENT_TAGS = new Set(['SCRIPT', 'STYLE', 'NOSCRIPT', 'TEMPLATE', 'TEXTAREA', 'SELECT']);
    // The mark of a filled field: the colours of a browser's own autofill, over any background image.
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
    const firstElementOf = own(Element.prototype, 'firstElementChild').get;
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
    const getAttribute = Element.prototype.getAttribute;
    const querySelectorAll = Element.prototype.querySelectorAll;
    const querySelector = Element.prototype.querySelector;
    const closest = Element.prototype.closest;
    const elementsByTag = Document.prototype.getElementsByTagName;
    const documentQuery = Document.prototype.querySelectorAll;
    const collectionLength = own(HTMLCollection.prototype, 'length').get;
    const collectionItem = HTMLCollection.prototype.item;
    const nodeListLength = own(NodeList.prototype, 'length').get;
    const nodeListItem = NodeList.prototype.item;
    const selectOptions = own(HTMLSelectElement.prototype, 'options').get;
    const optionText = own(HTMLOptionElement.prototype, 'text').get;
    const optionSelected = own(HTMLOptionElement.prototype, 'selected');
    const selectMultiple = own(HTMLSelectElement.prototype, 'multiple').get;
    const selectedIndex = own(HTMLSelectElement.prototype, 'selectedIndex').get;
    const inputValue = own(HTMLInputElement.prototype, 'value');
    const inputType = own(HTMLInputElement.prototype, 'type').get;
    const textAreaValue = own(HTMLTextAreaElement.prototype, 'value');
    const inputMaxLength = own(HTMLInputElement.prototype, 'maxLength').get;
    const textAreaMaxLength = own(HTMLTextAreaElement.prototype, 'maxLength').get;
    const imageSource = own(HTMLImageElement.prototype, 'src').set;
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
    // The engine may put back what the fields held (Back, Forward, reload) after the DOM is
    // complete: a plan landing before that would be overwritten, so such a load is not held.
    const restoresFields = navigation !== undefined && navigation.type !== 'navigate';

    // What the script knows of the page's elements, all of it held weakly.
    const seen = new WeakSet();       // fields that a snapshot has listed
    const edited = new WeakSet();     // fields that the user changed (trusted input or change events)
    const watched = new WeakSet();    // documents observed for frame loads, new fields and edits
    const filledDocs = new WeakSet(); // documents in which a pass wrote at least one field
    const ours = new WeakMap();       // field -> the value a pass left in it, until the user edits it
    const marks = new WeakMap();      // marked field -> what its style attribute held before the mark
    const rebuilt = new WeakMap();    // list -> how often its options were rebuilt after a pass saw it

    // The snapshots whose plans may still come: token -> {page (as walk() gives it), entries:
    // Map(i -> the field's snapshot entry), options: Map(i -> option elements)}. A snapshot of the
    // whole page replaces all of them; the oldest go past KEPT_SNAPSHOTS.
    const snapshots = {taken: 0, kept: new Map()};

    // The load pass. Its snapshot is taken once the document's DOM is complete, and its plan is
    // made while the page goes on loading. The plan lands as it comes if the page's elements are
    // still exactly those the snapshot read, and read the same. One that finds the page changed
    // waits for the load event to be tried again; one that finds it changed after the load event
    // has the page read anew, and that pass goes as any other. States:
    //   'idle'    - not begun: the DOM is not complete yet;
    //   'offered' - the snapshot went out, its plan has not come;
    //   'held'    - its plan came before the load event, while the page was still changing;
    //   'done'    - the plan landed, or was answered as stale.
    // `loaded` tells that the load event fired, or that the program asked first.
    // `changed` tells that elements were added or removed, or a frame loaded, since the snapshot.
    // While the plan may still land as it comes, `hold` is an image that holds the document's load
    // event back (autofill/LoadEventHold.h), so that the page's own load handlers find the fields
    // filled; never put in the document, it is dropped as soon as the pass stops waiting.
    const loadPass = {state: 'idle', loaded: false, token: '', page: null, states: null, changed: false,
                      plan: null, hold: null};

    // Fields that appeared since the last "added" snapshot, and the timer that offers them.
    const addedFields = {fields: new Set(), firstAt: 0, lastChangeAt: 0, timer: 0};

    // The channel to the program: bridge is null until the transport is there, {pending: true}
    // while the channel opens; offers made before it is open wait in the outbox.
    const channel = {bridge: null, outbox: []};
    const user = {acting: false}; // a trusted click or key press is being handled

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

    // The documents `roots` and every same-origin frame's document inside them, each after the
    // document that holds its frame, in the order its frame element is met: {elements, tags, docs},
    // the form fields and frames of each document in document order, one document after the other,
    // with their upper-cased tag names (null when one cannot be read), and docs [{doc, start, end}],
    // the range of each document's elements. Every document reached is watched from then on. The
    // engine finds the elements: a page of thousands of other elements costs next to nothing.
    function walk(roots) {
        const elements = [];
        const tags = [];
        const docs = roots.map((doc) => ({doc, start: 0, end: 0}));
        for (let d = 0; d < docs.length; ++d) {
            const range = docs[d];
            watch(range.doc);
            range.start = elements.length;
            const all = documentQuery.call(range.doc, WALKED);
            const count = nodeListLength.call(all);
            for (let i = 0; i < count; ++i) {
                const element = nodeListItem.call(all, i);
                const tag = tagOf(element);
                elements.push(element);
                tags.push(tag);
                if (tag === 'IFRAME' || tag === 'FRAME') {
                    const inner = frameContent(element, tag);
                    if (inner)
                        docs.push({doc: inner, start: 0, end: 0});
                }
            }
            range.end = elements.length;
        }
        return {elements, tags, docs};
    }

    // The position among page.docs of the document holding the element at `at`.
    function documentAt(page, at) {
        let d = 0;
        while (d + 1 < page.docs.length && page.docs[d + 1].start <= at)
            ++d;
        return d;
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
        if (text === '')
            return text;
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
        const enclosing = closest.call(element, 'label');
        if (enclosing !== null) {
            const text = textOf(enclosing);
            if (text)
                return text;
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

    // The text of the nearest of `at`'s siblings, looking back or on (`step`: previousSiblingOf or
    // nextSiblingOf), that holds some, HINT_SIBLINGS elements away at most, or '' where another
    // visible field comes first (the text there is that field's); null when the siblings looked at
    // hold no text.
    function siblingText(at, step) {
        let looked = 0;
        for (let sibling = step.call(at); sibling !== null && looked < HINT_SIBLINGS;
             sibling = step.call(sibling)) {
            const type = nodeTypeOf.call(sibling);
            if (type === 1) {
                const tag = tagOf(sibling);
                // Most siblings hold text alone: no field can be inside them.
                if (tag === 'TEXTAREA' || tag === 'SELECT' ||
                    (tag === 'INPUT' && inputType.call(sibling) !== 'hidden') ||
                    (firstElementOf.call(sibling) !== null && querySelector.call(sibling, VISIBLE_FIELDS) !== null))
                    return '';
                if (SILENT_TAGS.has(tag))
                    continue;
                ++looked;
            } else if (type !== 3) {
                continue;
            }
            const text = textOf(sibling);
            if (text)
                return text;
        }
        return null;
    }

    // The text just after an input, before any other field: a unit written after a size box.
    function afterOf(element) {
        const text = siblingText(element, nextSiblingOf);
        return text !== null && text.length <= 40 ? text : '';
    }

    // The text just before a field without a label: in a table cell, the text before the field
    // in its own cell ("Url : <input>"), else the nearest earlier cell's; elsewhere that of the
    // nearest preceding sibling with text, up to HINT_LEVELS levels up.
    function hintOf(element) {
        const cell = parentOf.call(element);
        if (cell !== null && nodeTypeOf.call(cell) === 1) {
            const tag = tagOf(cell);
            if (tag === 'TD' || tag === 'TH') {
                const own = siblingText(element, previousSiblingOf);
                if (own !== null)
                    return own;
                for (let before = previousElementOf.call(cell); before !== null;
                     before = previousElementOf.call(before)) {
                    const text = textOf(before);
                    if (text)
                        return text;
                }
                return '';
            }
        }
        let at = element;
        for (let level = 0; level <= HINT_LEVELS && at !== null; ++level) {
            const hint = siblingText(at, previousSiblingOf);
            if (hint !== null)
                return hint;
            at = parentOf.call(at);
            if (at !== null && nodeTypeOf.call(at) !== 1)
                break;
        }
        return '';
    }

    // The snapshot's entry of a form field (format: autofill/FillPlan.h); `labels` gives the
    // field's document's label map, `items` a list's option elements.
    function fieldEntry(element, tag, labels, items) {
        const entry = {tag};
        const name = getAttribute.call(element, 'name');
        if (name)
            entry.name = name;
        const id = getAttribute.call(element, 'id');
        if (id)
            entry.id = id;
        if (tag === 'INPUT')
            entry.type = inputType.call(element); // lower case, "text" when missing or unknown
        const label = labelOf(element, id, labels);
        if (label) {
            entry.label = label;
        } else {
            const hint = hintOf(element);
            if (hint)
                entry.hint = hint;
        }
        if (tag === 'INPUT') {
            const after = afterOf(element);
            if (after)
                entry.after = after;
        }
        for (const attribute of ['placeholder', 'title', 'autocomplete']) {
            const value = getAttribute.call(element, attribute);
            if (value)
                entry[attribute] = value;
        }
        if (tag === 'SELECT') {
            // An option's text has its white space collapsed already.
            const count = items.length;
            const texts = new Array(count);
            for (let k = 0; k < count; ++k)
                texts[k] = optionText.call(items[k]);
            entry.options = texts;
            const multiple = selectMultiple.call(element);
            const selected = [];
            if (multiple) {
                for (let k = 0; k < count; ++k) {
                    if (optionSelected.get.call(items[k]))
                        selected.push(k);
                }
            } else {
                const index = selectedIndex.call(element);
                if (index >= 0)
                    selected.push(index);
            }
            if (selected.length > 0)
                entry.selected = selected;
            if (multiple)
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

    // `page` (as walk() gives it) as the snapshot lists its documents, with the entries and the
    // option elements of its fields that a plan made from it needs.
    function describe(page) {
        const {elements, tags} = page;
        const entries = new Map();
        const options = new Map();
        const docs = [];
        for (const range of page.docs) {
            const row = [];
            let others = 0; // elements that are not form fields, given as one count
            let labelMap = null;
            const labels = () => labelMap || (labelMap = labelsOf(range.doc));
            for (let at = range.start; at < range.end; ++at) {
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
                try {
                    const items = tag === 'SELECT' ? collectOptions(element) : null;
                    const entry = fieldEntry(element, tag, labels, items);
                    entries.set(at, entry);
                    if (items !== null)
                        options.set(at, items);
                    row.push(entry);
                } catch (e) {
                    row.push(null);
                }
            }
            if (others > 0)
                row.push(others);
            docs.push(row);
        }
        return {docs, entries, options};
    }

    function collectOptions(element) {
        const list = selectOptions.call(element);
        const count = collectionLength.call(list);
        const items = new Array(count);
        for (let k = 0; k < count; ++k)
            items[k] = collectionItem.call(list, k);
        return items;
    }

    // Lists `page` (as walk() gives it) as a snapshot of `scope` and keeps its elements:
    // {token, docs, json}, json being the snapshot's text; null when `onlyFields` and there is no
    // form field.
    function take(scope, page, onlyFields) {
        const {docs, entries, options} = describe(page);
        if (onlyFields && entries.size === 0)
            return null;
        const token = docId + '/' + (++snapshots.taken) + '/' + randomWord();
        const kept = snapshots.kept;
        if (scope === 'page')
            kept.clear();
        kept.set(token, {page, entries, options});
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
        return take('page', walk([document]), false).json;
    }

    // Offers a snapshot to the program; the plan comes as the answer, or later through planReady
    // when the program makes it later. `unanswered`, if given, is called when the answer is empty.
    function send(json, unanswered) {
        const bridge = channel.bridge;
        if (bridge !== null && !bridge.pending)
            bridge.offer(json, (plan) => (plan ? apply(docId, plan) : unanswered && unanswered()));
        else
            channel.outbox.push([json, unanswered]);
    }

    function tell(report) {
        channel.bridge.report(stringify(report));
    }

    function offer(scope, page) {
        const taken = take(scope, page, true);
        if (taken !== null)
            send(taken.json);
    }

    function offerPage() {
        send(take('page', walk([document]), false).json);
    }

    function beginLoadPass() {
        connect();
        const page = walk([document]);
        const taken = take('page', page, false);
        Object.assign(loadPass, {state: 'offered', token: taken.token, page, states: fieldStates(page),
                                 changed: false, plan: null, hold: restoresFields ? null : new Image()});
        if (loadPass.hold !== null)
            imageSource.call(loadPass.hold, 'formtide-hold:' + randomWord());
        // A program that made no plan at once makes none for the load event to wait for.
        send(taken.json, () => {
            if (loadPass.token === taken.token)
                releaseLoadEvent();
        });
    }

    function releaseLoadEvent() {
        if (loadPass.hold !== null)
            removeAttribute.call(loadPass.hold, 'src');
        loadPass.hold = null;
    }

    function endLoadPass() {
        releaseLoadEvent();
        Object.assign(loadPass, {state: 'done', page: null, states: null, plan: null});
    }

    // What the fields of `page` hold now, in order: texts, and the positions selected in lists.
    function fieldStates(page) {
        const states = [];
        page.elements.forEach((element, at) => {
            const tag = page.tags[at];
            if (tag === 'INPUT')
                states.push(inputValue.get.call(element));
            else if (tag === 'TEXTAREA')
                states.push(textAreaValue.get.call(element));
            else if (tag === 'SELECT')
                states.push(selectedIndex.call(element));
        });
        return states;
    }

    // Whether the page is still as the load pass's snapshot read it: no element added or removed,
    // no frame's document loaded, and every field holding what it held. (Lists whose several
    // selections changed past the first one pass for unchanged.)
    function unchangedSinceLoadPass() {
        if (loadPass.changed)
            return false;
        const states = fieldStates(loadPass.page);
        const before = loadPass.states;
        return states.length === before.length && states.every((state, i) => state === before[i]);
    }

    // The load pass's plan came, or is tried again at the load event.
    function landLoadPlan(plan) {
        if (!snapshots.kept.has(loadPass.token)) {
            endLoadPass(); // a newer snapshot of the whole page took over
            tell({token: plan.token, status: 'stale'});
        } else if (unchangedSinceLoadPass()) {
            endLoadPass();
            applyKept(plan);
        } else if (!loadPass.loaded) {
            loadPass.state = 'held';
            releaseLoadEvent();
            loadPass.plan = plan;
        } else {
            endLoadPass();
            tell({token: plan.token, status: 'stale'});
            offerPage();
        }
    }

    // The document's load event, or the program asking first (formtideFill.loaded()).
    function loaded() {
        if (loadPass.loaded)
            return true;
        loadPass.loaded = true;
        connect();
        if (loadPass.state === 'idle') {
            endLoadPass();
            offerPage();
        } else if (loadPass.state === 'held') {
            landLoadPlan(loadPass.plan);
        }
        return true;
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
            return; // no plan held for this document, or none made at once
        const plan = parse(text);
        if (doc !== docId)
            tell({token: plan.token, status: 'stale'}); // the document it was made for is gone
        else if (loadPass.state === 'offered' && plan.token === loadPass.token)
            landLoadPlan(plan);
        else
            applyKept(plan);
    }

    // Applies `plan` to the elements kept for its snapshot. The report names the fields that hold
    // another text than the one written, so that the program knows every text a pass left again in
    // the fields that Back and Forward restore.
    function applyKept(plan) {
        const current = snapshots.kept.get(plan.token);
        if (!current) {
            tell({token: plan.token, status: 'stale'});
            return;
        }
        snapshots.kept.delete(plan.token);
        const {page, entries, options} = current;
        let written = 0;
        let lists = 0;
        const refused = [];
        const altered = [];
        const nameAt = (at) => (entries.has(at) && entries.get(at).name) || '';
        const refuse = (at, reason) => refused.push([at, documentAt(page, at), nameAt(at), reason]);
        for (const write of plan.writes) {
            const at = write[0];
            const element = page.elements[at];
            const tag = page.tags[at];
            try {
                if (Array.isArray(write[1])) {
                    const items = options.get(at);
                    for (const k of write[1])
                        optionSelected.set.call(items[k], true);
                    fire(element, 'change');
                    filledDocs.add(ownerDocumentOf.call(element));
                    mark(element);
                    ++lists;
                    continue;
                }
                let value;
                if (tag === 'INPUT') {
                    if (write[2] === true && !keeps(element, write[1])) {
                        refuse(at, 'ValueNotKept');
                        continue;
                    }
                    inputValue.set.call(element, write[1]);
                    value = inputValue.get.call(element);
                } else if (tag === 'TEXTAREA') {
                    textAreaValue.set.call(element, write[1]);
                    value = textAreaValue.get.call(element);
                } else {
                    throw new TypeError('no value');
                }
                ours.set(element, value);
                if (value !== write[1])
                    altered.push([at, value]);
                fire(element, 'input');
                fire(element, 'change');
                filledDocs.add(ownerDocumentOf.call(element));
                mark(element);
                ++written;
            } catch (e) {
                refuse(at, e && typeof e.name === 'string' ? e.name : 'Error');
            }
        }
        tell({token: plan.token, status: 'applied', written, lists, refused, altered});
    }

    // A frame element in a watched document finished loading a document: once the load pass is
    // over, a pass over that document (and the same-origin frames inside it) only. Cross-origin
    // documents are not reached. The load events of images, style sheets and scripts come here
    // too, and change no field.
    function frameLoaded(event) {
        if (loadPass.state === 'idle')
            return; // the load pass reads it
        const element = eventTarget.call(event);
        const tag = tagOf(element);
        if (tag !== 'IFRAME' && tag !== 'FRAME')
            return;
        if (loadPass.state !== 'done') {
            loadPass.changed = true;
            return;
        }
        const inner = frameContent(element, tag);
        if (inner)
            offer('frame', walk([inner]));
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
        if (!event.isTrusted || user.acting)
            return;
        user.acting = true;
        setTimeout(() => { user.acting = false; }, 0);
    }

    function formSent(event) {
        const bridge = channel.bridge;
        if (!event.isTrusted || !user.acting || bridge === null || bridge.pending)
            return;
        if (filledDocs.has(ownerDocumentOf.call(eventTarget.call(event))))
            bridge.submitted();
    }

    function fieldAdded(field) {
        if (!seen.has(field))
            addedFields.fields.add(field);
    }

    // Notes the fields that the records add, and a list whose options were rebuilt after a pass saw
    // it (which makes it unseen again, MAX_REBUILDS times at most); while fields are waiting, every
    // change of the page puts the pass off, up to MAX_WAIT_MS after the first of them.
    function pageChanged(records) {
        loadPass.changed = true;
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
                    addedFields.fields.add(list);
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
        const waiting = addedFields;
        if (waiting.fields.size === 0)
            return;
        waiting.lastChangeAt = now();
        if (waiting.timer === 0) {
            waiting.firstAt = waiting.lastChangeAt;
            waiting.timer = setTimeout(addedDue, QUIET_MS);
        }
    }

    // The timer is never put off by the page itself: a page whose own timers run back to back
    // would otherwise always come first.
    function addedDue() {
        const waiting = addedFields;
        const at = now();
        const quietFor = at - waiting.lastChangeAt;
        if (quietFor >= QUIET_MS || at - waiting.firstAt >= MAX_WAIT_MS) {
            offerAdded();
            return;
        }
        waiting.timer =
            setTimeout(addedDue, Math.min(QUIET_MS - quietFor, waiting.firstAt + MAX_WAIT_MS - at));
    }

    // Offers the fields that appeared, are still in a document, and neither a pass has seen nor
    // the user has edited since, in the page's order.
    function offerAdded() {
        const fields = addedFields.fields;
        addedFields.fields = new Set();
        addedFields.timer = 0;
        const waiting = new Set();
        for (const field of fields) {
            if (!seen.has(field) && !edited.has(field) && isConnected.call(field))
                waiting.add(field);
        }
        if (waiting.size === 0)
            return;
        const whole = walk([document]);
        const page = {elements: [], tags: [], docs: []};
        for (const range of whole.docs) {
            const start = page.elements.length;
            for (let at = range.start; at < range.end; ++at) {
                if (waiting.has(whole.elements[at])) {
                    page.elements.push(whole.elements[at]);
                    page.tags.push(whole.tags[at]);
                }
            }
            if (page.elements.length > start)
                page.docs.push({doc: range.doc, start, end: page.elements.length});
        }
        offer('added', page);
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
        if (channel.bridge !== null || typeof qt === 'undefined' || !qt.webChannelTransport)
            return;
        channel.bridge = {pending: true};
        new QWebChannel(qt.webChannelTransport, function (webChannel) {
            const bridge = webChannel.objects.formtideBridge;
            channel.bridge = bridge;
            bridge.planReady.connect(apply);
            bridge.ready(docId, (held) => apply(docId, held));
            for (const [json, unanswered] of channel.outbox.splice(0))
                send(json, unanswered);
        });
    }

    // Rows [frame, tag, type, name, value or [selected positions]] for every INPUT, TEXTAREA and
    // SELECT element, in the order of the snapshot's documents (format: autofill/Browser.h).
    function fields() {
        const rows = [];
        const {elements, tags, docs} = walk([document]);
        docs.forEach((range, d) => {
            for (let at = range.start; at < range.end; ++at) {
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
        });
        return stringify(rows);
    }

    // A page that the engine keeps whole when it is left and shows again for Back or Forward
    // (its scripts' state included) is filled again as if it had just loaded.
    function shownAgain(event) {
        if (event.persisted && loadPass.loaded)
            offerPage();
    }

    // Injected as the document is created: the channel to the program opens while the page is
    // parsed, and the page is read once its DOM is complete.
    function start() {
        addEventListener.call(window, 'pageshow', shownAgain);
        if (loadPass.loaded)
            return; // the program asked first, and that pass read the page already
        if (document.readyState === 'complete') {
            loaded();
        } else {
            addEventListener.call(window, 'load', loaded);
            beginLoadPass();
        }
    }

    connect();
    if (document.readyState === 'loading')
        addEventListener.call(document, 'DOMContentLoaded', start);
    else
        start();
    return {snapshot, loaded, fields};
})();
