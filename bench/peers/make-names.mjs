// Makes names with one of the peer generators, from syllables.json, and
// writes them to standard output one a line; or writes the same data as
// Veltrano's three files.
//
//   node make-names.mjs tracery|tracery-cleared|faker COUNT
//       COUNT names, then the time in-process on standard error
//   node make-names.mjs veltrano-data FOLDER    init.txt, sprachen.txt, semantik.txt

import { readFileSync, writeFileSync } from 'node:fs';

const syllables = JSON.parse(readFileSync(new URL('./syllables.json', import.meta.url)));
const [tool, argument] = process.argv.slice(2);

function veltranoData(folder) {
    const list = (name, items) => `[${name}]\n${items.map((s) => `    ${s}\n`).join('')}`;
    writeFileSync(`${folder}/init.txt`, 'languages=sprachen.txt\nsemantics=semantik.txt\n');
    writeFileSync(`${folder}/sprachen.txt`,
        list('first', syllables.first) + list('middle', syllables.middle) +
        list('last', syllables.last));
    writeFileSync(`${folder}/semantik.txt`,
        '[Peers]\nzwei:1:Name:^first,last\ndrei:1:Name:^first,middle,last\n');
}

// One name a call, as each library is meant to be used. Each run loads only
// its own library, and faker only its English locale: loading all of faker
// costs more than making a million names with veltrano-cli.
async function makeGenerator(name) {
    if (name === 'tracery' || name === 'tracery-cleared') {
        const { default: tracery } = await import('tracery-grammar');
        const grammar = tracery.createGrammar({
            origin: ['#first.capitalize##last#', '#first.capitalize##middle##last#'],
            first: syllables.first,
            middle: syllables.middle,
            last: syllables.last,
        });
        grammar.addModifiers(tracery.baseEngModifiers);
        if (name === 'tracery') {
            return () => grammar.flatten('#origin#');
        }
        // Tracery keeps every expansion for its symbols' history until
        // clearState(); a long run without it spends its time collecting
        // garbage.
        return () => {
            const text = grammar.flatten('#origin#');
            grammar.clearState();
            return text;
        };
    }
    if (name === 'faker') {
        const { faker } = await import('@faker-js/faker/locale/en');
        faker.seed(1);
        const capital = (s) => s[0].toUpperCase() + s.slice(1);
        return () => {
            const first = capital(faker.helpers.arrayElement(syllables.first));
            const middle = faker.helpers.arrayElement([2, 3]) === 3
                ? faker.helpers.arrayElement(syllables.middle) : '';
            return first + middle + faker.helpers.arrayElement(syllables.last);
        };
    }
    return null;
}

if (tool === 'veltrano-data') {
    veltranoData(argument);
} else {
    const generate = await makeGenerator(tool);
    const count = Number(argument);
    if (!generate || !Number.isSafeInteger(count) || count < 0) {
        process.stderr.write('usage: node make-names.mjs tracery|tracery-cleared|faker COUNT\n' +
            '       node make-names.mjs veltrano-data FOLDER\n');
        process.exit(2);
    }
    // Names leave in blocks, as veltrano-cli writes them, so that the
    // comparison is of making names, not of writing lines.
    const start = process.hrtime.bigint();
    let block = [];
    for (let i = 0; i < count; ++i) {
        block.push(generate());
        if (block.length === 65536) {
            process.stdout.write(block.join('\n') + '\n');
            block = [];
        }
    }
    if (block.length > 0) {
        process.stdout.write(block.join('\n') + '\n');
    }
    const seconds = Number(process.hrtime.bigint() - start) / 1e9;
    process.stderr.write(`${tool}: ${count} names in ${seconds.toFixed(3)} s in-process\n`);
}
