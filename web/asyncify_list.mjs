// The functions Asyncify must instrument: those that can be on the stack when
// the game waits (emscripten_sleep). Read from the text form (wasm-dis) of the
// program linked without Asyncify; an indirect call may reach any function of
// the table with its signature. SQLite and the C library never call back into
// the game, so functions with C names (no parameter list in the name) are left
// out, which keeps them out of the instrumentation.
//   node web/asyncify_list.mjs PROGRAM.wat LIST.txt
import { readFileSync, writeFileSync } from 'node:fs';

const [input, output] = process.argv.slice(2);
const unescape = (name) => name.slice(1).replace(/\\([0-9a-f]{2})/g, (_, hex) => String.fromCharCode(parseInt(hex, 16)));
const signature = (text) => [...text.matchAll(/\(param (?:\$\S+ )?([^)]*)\)/g)].map((m) => m[1]).join(' ') + ' -> ' +
  [...text.matchAll(/\(result ([^)]*)\)/g)].map((m) => m[1]).join(' ');

const types = new Map();     // type name -> signature
const signatures = new Map();  // function -> signature
const callers = new Map();   // function -> functions that call it
const indirect = new Map();  // signature -> functions calling through the table with it
const table = [];
const add = (map, key, value) => (map.get(key) ?? map.set(key, new Set()).get(key)).add(value);
let current = null;
for (const line of readFileSync(input, 'utf8').split('\n')) {
  let m;
  if ((m = line.match(/^ \(type (\$\S+) \(func(.*)$/))) {
    types.set(m[1], signature(m[2]));
  } else if ((m = line.match(/^ \(import "[^"]*" "[^"]*" \(func (\$\S+) \(type (\$\S+)\)/))) {
    signatures.set(m[1], types.get(m[2]));
  } else if ((m = line.match(/^ \(func (\$\S+)(.*)$/))) {
    current = m[1];
    signatures.set(current, signature(m[2]));
  } else if (line.startsWith(' (elem')) {
    table.push(...Array.from(line.matchAll(/\$[^\s)]+/g), (m) => m[0]));
  } else if (current) {
    for (const call of line.matchAll(/\(call (\$[^\s)]+)/g)) add(callers, call[1], current);
    for (const call of line.matchAll(/\(call_indirect (?:\$\S+ )?\(type (\$\S+)\)/g)) add(indirect, types.get(call[1]), current);
  }
}
for (const entry of table) for (const caller of indirect.get(signatures.get(entry)) ?? []) add(callers, entry, caller);

const ours = (name) => name === 'main' || (name.includes('(') && !name.startsWith('__cxxabiv1'));
const seen = new Set(['$emscripten_sleep']);
const work = [...seen];
while (work.length) {
  for (const caller of callers.get(work.pop()) ?? []) {
    if (!seen.has(caller) && ours(unescape(caller))) {
      seen.add(caller);
      work.push(caller);
    }
  }
}
// A ".1"-style copy cannot be named in the list (emcc reads "." as a space);
// its callers are listed all the same.
const found = new Set([...seen].map(unescape).filter((name) => ours(name) && !/\.\d+$/.test(name)));
if (!found.has('main')) throw new Error(`${input}: nothing leads from main to emscripten_sleep`);
writeFileSync(output, [...found].sort().join('\n') + '\n');
