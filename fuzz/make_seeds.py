#!/usr/bin/env python3
"""Writes the hand-made seed inputs of fuzz/corpus/<target>/.

Run from anywhere; it rewrites only the files whose names start with "seed-"
and copies the sample data files in as "sample-...". The corpora keep any
other file (inputs the fuzzer found worth keeping).
"""

import pathlib
import shutil

FUZZ = pathlib.Path(__file__).resolve().parent
ROOT = FUZZ.parent


def lengths_around_limit(make_line):
    """Lines of 998 to 1001 bytes, each alone, each with CR LF, and each
    followed by one more line, so that the rest of a cut line is seen."""
    seeds = {}
    for n in (998, 999, 1000, 1001):
        seeds[f"line-{n}"] = make_line(n) + b"\n"
        seeds[f"line-{n}-crlf"] = make_line(n) + b"\r\n"
        seeds[f"line-{n}-no-final-end"] = make_line(n)
        seeds[f"line-{n}-then-more"] = make_line(n) + b"\n" + make_line(5) + b"\n"
    seeds["line-2000-split-twice"] = make_line(2000) + b"\n"
    seeds["line-999-blanks-after-cut"] = make_line(999) + b"   tail\n"
    return seeds


def init_seeds():
    def line(n):
        return b"k=" + b"v" * (n - 2)

    seeds = lengths_around_limit(line)
    seeds.update({
        "plain": b"languages=sprachen.txt\nsemantics=semantik.txt\n",
        "crlf": b"languages=l.txt\r\nsemantics=s.txt\r\n",
        "no-final-end": b"languages=l.txt\nsemantics=s.txt",
        "hash-columns": b"#a=1\nb#=2\ncc#=3\n  #d=4\n",
        "blanks-around-equals": b"languages = l.txt\n \tsemantics=\ts.txt \n",
        "two-equals-empty-key-empty-value": b"a=b=c\n=empty key\nempty value=\n=\n",
        "repeated-key": b"k=1\nk=2\nK=3\n",
        "no-equals": b"just words\n[section]\n",
        "nul-and-lone-cr": b"k=a\x00b\nl=c\rd\ne\x00=f\n",
        "only-white-space": b" \t\r\n\v\f\n\n",
        "empty": b"",
        "crcrlf": b"k=v\r\r\nl=w\r\n",
        "datadir-override": b"DataDir=/elsewhere/\nlanguages=init.txt\n",
        "high-bytes": b"k\xe4=\xff\xfe\n",
    })
    return seeds


def language_seeds():
    def line(n):
        return b"[l]\n" + b"f" * n

    seeds = lengths_around_limit(line)
    seeds.update({
        "example": b"#fragments\n[elfstart]\nae\nlor\n[elfmid]\nan\n$\n[elfend]\ndil\nwen\n",
        "crlf": b"[a]\r\nx\r\ny\r\n",
        "no-final-end": b"[a]\nx\ny",
        "headers": b"[abc]\n[abc] \n[abc\n[\n[]\n[[x]]\n",
        "escapes": b"[a]\n$\n$ x\n$[x\n$$\n$#x\na#b\n",
        "hash-columns": b"#[a]\n[#]\n[a]\nx#\nab#\n  #x\n",
        "empty-and-repeated-sections": b"[a]\n[b]\nx\n[a]\ny\n[a]\n",
        "fragment-before-header": b"x\n[a]\ny\n",
        "comment-then-fragment-first": b"# c\n\nloose\n",
        "trailing-blanks": b"[a]\nx  \n\ty\t\n",
        "nul-and-lone-cr": b"[a\x00b]\nx\x00y\nc\rd\n",
        "duplicates": b"[a]\nx\nx\nx\n",
        "only-white-space": b"\n \t\r\n",
        "empty": b"",
        "high-bytes": b"[\xe4]\n\xff\n",
    })
    return seeds


def semantics_seeds():
    def line(n):
        return b"[C]\n" + b"l:1:t:" + (b"a," * n)[: n - 6]

    seeds = lengths_around_limit(line)
    seeds.update({
        "example": b"#Elvish names\n[Elves]\nshort:10:First name:^a,b\n"
                   b"long:5:First name:^a,b,c\nclan:10:Family name:^c,none\n",
        "crlf": b"[C]\r\nl:1:t:a\r\nm:2:t:b\r\n",
        "no-final-end": b"[C]\nl:1:t:a",
        "weights": b"[C]\nl::t:a\nl:-1:t:a\nl:99999999999:t:a\nl:0:t:a\n"
                   b"l: 7x:t:a\nl:+3:t:b\nl:-99999999999:u:a\nl:2147483647:v:a\n"
                   b"l:2147483647:v:b\nl:letters:w:a\n",
        "only-negative-weights": b"[C]\nl:-1:t:a\nm:-5:t:b\n",
        "hash-columns": b"[C]\n#:1:t:a\na#:1:t:a\nab#:1:t:a\n[#x]\n",
        "empty-and-repeated-sections": b"[A]\n[B]\nl:1:t:a\n[A]\nm:1:t:b\n[B]\nn:2:t:c\n",
        "empty-section-name": b"[x\nl:1:t:a\n",
        "data-before-header": b"l:1:t:a\n[C]\n",
        "too-few-colons": b"[C]\nl:1:t\n",
        "extra-colons-and-commas": b"[C]\nl:1:t:a:b,,c,\nm:1:t:\n",
        "caret-names": b"[C]\nl:1:t:^,^^,a^b,^a,^none,\n",
        "headers": b"[C] \nl:1:t:a\n[D\nl:1:t:b\n[\nl:1:t:c\n",
        "nul-and-lone-cr": b"[C\x00]\nl\x00:1:t\r:a\x00\n",
        "only-comments-and-headers": b"# c\n[A]\n[B]\n",
        "empty": b"",
        "high-bytes": b"[\xe4]\nl:1:\xff:c\n",
    })
    return seeds


def store_seeds():
    seeds = {
        "plain": b"DataDir=/usr/share/veltrano\nInitFile=init.txt\n",
        "crlf": b"DataDir=/data\r\nInitFile=init.txt\r\n",
        "no-final-end": b"DataDir=/data\nInitFile=init.txt",
        "repeated-names": b"datadir=/first\nDataDir=/second\nDATADIR=/third\n",
        "other-lines": b"# comment\n[section]\n\nDataDir=/d\nno equals\n=empty name\n",
        "value-with-equals": b"DataDir=/a=b\nInitFile=x=y\n",
        "value-4095": b"DataDir=" + b"d" * 4095 + b"\n",
        "value-4096": b"DataDir=" + b"d" * 4096 + b"\n",
        "nul-in-value": b"DataDir=/da\x00ta\nInitFile=in\x00it\n",
        "lone-cr": b"DataDir=/d\rInitFile=i\n",
        "blanks-around-equals": b"DataDir = /d\n InitFile=i\n",
        "empty": b"",
        "only-line-ends": b"\n\r\n\n",
        "high-bytes": b"D\xe4taDir=\xff\n",
        "line-999": b"x=" + b"v" * 997 + b"\n",
        "line-1000": b"x=" + b"v" * 998 + b"\n",
    }
    return seeds


SEPARATOR = b"\n=====\n"


def checker_seeds():
    """Init part, language file and semantics file in one input; the init
    part follows two fixed lines naming the other two files."""
    seeds = {}
    lang = language_seeds()
    sem = semantics_seeds()
    seeds["example"] = SEPARATOR.join([b"", lang["example"], sem["example"]])
    seeds["crlf"] = SEPARATOR.join([b"x=y\r\n", lang["crlf"], b"[C]\r\nl:1:t:a\r\n"])
    seeds["weights"] = SEPARATOR.join([b"", b"[a]\nx\n", sem["weights"]])
    seeds["headers"] = SEPARATOR.join([b"", lang["headers"], sem["headers"]])
    seeds["repeated-sections"] = SEPARATOR.join(
        [b"", lang["empty-and-repeated-sections"], sem["empty-and-repeated-sections"]])
    seeds["fragment-before-header"] = SEPARATOR.join(
        [b"", lang["fragment-before-header"], sem["example"]])
    seeds["data-before-header"] = SEPARATOR.join([b"", lang["example"], sem["data-before-header"]])
    seeds["too-few-colons"] = SEPARATOR.join([b"", lang["example"], sem["too-few-colons"]])
    seeds["empty-lists"] = SEPARATOR.join(
        [b"", b"[none]\n[]\n", b"[C]\nl:1:t:none\nm:1:u:,,\n[D]\nl:-1:t:none\n"])
    seeds["keys-misspelt"] = SEPARATOR.join(
        [b"Languages = other.txt\nsemantics =x\n", lang["example"], sem["example"]])
    seeds["keys-renamed"] = SEPARATOR.join(
        [b"languages=missing.txt\nsemantics=init.txt\n", b"", b""])
    seeds["long-lines"] = SEPARATOR.join(
        [b"k=" + b"v" * 1200 + b"\n", b"[a]\n" + b"f" * 1000 + b"\n",
         b"[C]\nl:1:t:" + b"a," * 600 + b"\n"])
    seeds["nul-bytes"] = SEPARATOR.join([b"k\x00=v\n", lang["nul-and-lone-cr"],
                                         sem["nul-and-lone-cr"]])
    seeds["one-part"] = lang["example"]
    seeds["two-parts"] = SEPARATOR.join([b"", lang["example"]])
    seeds["empty"] = b""
    return seeds


def write(target, seeds, samples):
    folder = FUZZ / "corpus" / target
    folder.mkdir(parents=True, exist_ok=True)
    for old in folder.glob("seed-*"):
        old.unlink()
    for name, data in seeds.items():
        (folder / f"seed-{name}").write_bytes(data)
    for sample in samples:
        shutil.copyfile(ROOT / "data" / sample, folder / f"sample-{sample}")


def main():
    write("init_file", init_seeds(), ["init.txt"])
    write("language_file", language_seeds(), ["sprachen.txt"])
    write("semantics_file", semantics_seeds(), ["semantik.txt"])
    write("store", store_seeds(), [])
    write("data_checker", checker_seeds(), [])
    sample = SEPARATOR.join([b"", (ROOT / "data" / "sprachen.txt").read_bytes(),
                             (ROOT / "data" / "semantik.txt").read_bytes()])
    (FUZZ / "corpus" / "data_checker" / "sample-data").write_bytes(sample)


if __name__ == "__main__":
    main()
