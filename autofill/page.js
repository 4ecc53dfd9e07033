// The page side of the fill pass. Injected into the application's isolated world of every
// top-level document, after qwebchannel.js; the page's own scripts cannot see or change it.
//
// formtideFill.snapshot() reads the document and its same-origin frames' documents, keeps the
// elements read, and returns the snapshot as a JSON string (format: autofill/FillPlan.h).
// The program's plan arrives through the web channel (bridge signal planReady) and is applied to
// the kept elements only when it names the snapshot they were kept for; the outcome goes back
// through bridge.report(). formtideFill.dump() returns the form fields' current contents.
//
// Everything is read and written through the DOM prototypes captured here, never through
// properties of the objects themselves, so that named elements (an <img name="all">, an input
// named "length") cannot stand in for the members used.
var formtideFill = (function () {
    'use strict';

    const own = (proto, name) => Object.getOwnPropertyDescriptor(proto, name);
    const tagNameOf = own(Element.prototype, 'tagName').get;
    const getAttribute = Element.prototype.getAttribute;
    const elementsByTag = Document.prototype.getElementsByTagName;
    const collectionLength = own(HTMLCollection.prototype, 'length').get;
    const collectionItem = HTMLCollection.prototype.item;
    const selectOptions = own(HTMLSelectElement.prototype, 'options').get;
    const optionText = own(HTMLOptionElement.prototype, 'text').get;
    const optionSelected = own(HTMLOptionElement.prototype, 'selected');
    const inputValue = own(HTMLInputElement.prototype, 'value');
    const inputType = own(HTMLInputElement.prototype, 'type').get;
    const textAreaValue = own(HTMLTextAreaElement.prototype, 'value');
    const iframeDocument = own(HTMLIFrameElement.prototype, 'contentDocument').get;
    const frameDocument = own(HTMLFrameElement.prototype, 'contentDocument').get;
    const dispatchEvent = EventTarget.prototype.dispatchEvent;
    const stringify = JSON.stringify;
    const upper = (s) => String.prototype.toUpperCase.call(s);

    const randomWord = () => crypto.getRandomValues(new Uint32Array(2)).join('-');
    const docId = randomWord();
    let snapshots = 0;
    let kept = null; // {token, elements, tags, names, options: Map(i -> option elements), frameStarts}
    let bridge = null;

    // The documents to walk: the top-level one, then each frame's whose document this world may
    // reach (same origin), in the order their frame elements are met. For each, its elements in
    // document order with their upper-cased tag names; a tag that cannot be read is null.
    function collect() {
        const docs = [document];
        const out = [];
        for (let d = 0; d < docs.length; ++d) {
            const all = elementsByTag.call(docs[d], '*');
            const count = collectionLength.call(all);
            const elements = new Array(count);
            const tags = new Array(count);
            for (let i = 0; i < count; ++i) {
                const element = collectionItem.call(all, i);
                elements[i] = element;
                let tag = null;
                try {
                    tag = upper(tagNameOf.call(element));
                    let inner = null;
                    if (tag === 'IFRAME')
                        inner = iframeDocument.call(element);
                    else if (tag === 'FRAME')
                        inner = frameDocument.call(element);
                    if (inner)
                        docs.push(inner);
                } catch (e) {
                    // A frame that cannot be reached is left alone; the element itself still counts.
                }
                tags[i] = tag;
            }
            out.push({elements, tags});
        }
        return out;
    }

    function snapshot() {
        connect();
        const token = docId + '/' + (++snapshots) + '/' + randomWord();
        const docs = collect();
        const elements = [];
        const tags = [];
        const names = new Map();
        const options = new Map();
        const frameStarts = [];
        const result = [];
        for (const doc of docs) {
            frameStarts.push(elements.length);
            const row = [];
            let unnamed = 0; // elements without a name, given as one count
            for (let i = 0; i < doc.elements.length; ++i) {
                const element = doc.elements[i];
                const tag = doc.tags[i];
                const at = elements.length;
                elements.push(element);
                tags.push(tag);
                let entry = null;
                if (tag !== null) {
                    try {
                        const name = getAttribute.call(element, 'name');
                        if (name === null || name === '') {
                            ++unnamed;
                            continue;
                        }
                        names.set(at, name);
                        if (tag === 'SELECT') {
                            const list = selectOptions.call(element);
                            const count = collectionLength.call(list);
                            const items = new Array(count);
                            const texts = new Array(count);
                            for (let k = 0; k < count; ++k) {
                                items[k] = collectionItem.call(list, k);
                                texts[k] = optionText.call(items[k]);
                            }
                            options.set(at, items);
                            entry = [tag, name, texts];
                        } else {
                            entry = [tag, name];
                        }
                    } catch (e) {
                        entry = null;
                    }
                }
                if (unnamed > 0) {
                    row.push(unnamed);
                    unnamed = 0;
                }
                row.push(entry);
            }
            if (unnamed > 0)
                row.push(unnamed);
            result.push(row);
        }
        kept = {token, elements, tags, names, options, frameStarts};
        return stringify({token, doc: docId, docs: result});
    }

    function frameOf(starts, at) {
        let frame = 0;
        while (frame + 1 < starts.length && starts[frame + 1] <= at)
            ++frame;
        return frame;
    }

    function fire(element, type) {
        dispatchEvent.call(element, new Event(type, {bubbles: true, composed: true}));
    }

    function apply(plan) {
        if (!plan || typeof plan.token !== 'string')
            return; // ready() found nothing held
        if (plan.doc !== docId || !kept || plan.token !== kept.token) {
            bridge.report({token: plan.token, status: 'stale'});
            return;
        }
        const current = kept;
        kept = null;
        let written = 0;
        let lists = 0;
        const refused = [];
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
                    ++lists;
                } else {
                    if (tag === 'INPUT')
                        inputValue.set.call(element, write[1]);
                    else if (tag === 'TEXTAREA')
                        textAreaValue.set.call(element, write[1]);
                    else
                        throw new TypeError('no value');
                    fire(element, 'input');
                    fire(element, 'change');
                    ++written;
                }
            } catch (e) {
                const reason = e && typeof e.name === 'string' ? e.name : 'Error';
                refused.push([frameOf(current.frameStarts, at), current.names.get(at) || '', reason]);
            }
        }
        bridge.report({token: plan.token, status: 'applied', written, lists, refused});
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
            bridge.ready(docId, apply);
        });
    }

    // Rows [frame, tag, type, name, value or [selected positions]] for every INPUT, TEXTAREA and
    // SELECT element, in the order of the snapshot's documents.
    function dump() {
        const rows = [];
        const docs = collect();
        for (let d = 0; d < docs.length; ++d) {
            const doc = docs[d];
            for (let i = 0; i < doc.elements.length; ++i) {
                const element = doc.elements[i];
                const tag = doc.tags[i];
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

    connect();
    return {snapshot, dump};
})();
