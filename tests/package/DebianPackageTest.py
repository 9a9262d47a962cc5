#!/usr/bin/env python3
"""The Debian package as a user meets it.

usage: DebianPackageTest.py BUILD SOURCE SCRATCH APP_ID

Builds the package from the build folder BUILD (cpack), reads its control
data and contents (dpkg-deb -I, -c), runs lintian on it, unpacks it into
SCRATCH (dpkg-deb -x) and uses what it holds: the three programs, their man
pages, the desktop entry, the metainfo and the bash completion. The pages,
the desktop entry and the completion are checked against the programs' own
--help, so an option added without them fails here. Exit status 0 when all
holds, 1 when anything fails, 77 when a tool is missing (named on stdout).
"""
import email.utils
import gzip
import os
import re
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ET

PROGRAMS = ["drovane", "drovane-analyze", "drovane-tone"]
PAGE_SECTIONS = ["NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "EXIT STATUS", "ENVIRONMENT", "EXAMPLES", "SEE ALSO"]
TUNER_SECTIONS = ["SCRIPT FORMAT", "FILES"]
NUMBERS = {"N", "HZ", "SECONDS", "MIDI"}
# A NOTE is a pitch class, named as a player names it.
NOTES = {"C", "C#", "Db", "D", "Eb", "E", "F", "F#", "Gb", "G", "Ab", "A", "Bb", "B"}
# An option line of --help: "  [-x, ]--name[ VALUE]  description".
OPTION = re.compile(r"^\s+(?:-\w, )?(--[a-z][\w-]*)(?:[ =](\S+))?(?:\s{2,}(.*))?$")

failures, missing_tools = [], []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAILED:", what)
    return ok


def have(tool):
    if shutil.which(tool) or os.path.exists(tool):
        return True
    missing_tools.append(tool)
    print("SKIPPED: not installed:", tool)
    return False


def run(args, **kw):
    return subprocess.run(args, capture_output=True, text=True, **kw)


def help_options(program):
    """{option: [value placeholder or None, description]} as --help lists them."""
    options, last = {}, None
    for line in run([program, "--help"]).stdout.splitlines():
        m = OPTION.match(line)
        if m:
            last = m.group(1)
            options[last] = [m.group(2), m.group(3) or ""]
        elif last and line.startswith("    ") and line.strip():
            options[last][1] += " " + line.strip()
        else:
            last = None
    return options


def deroff(text):
    text = re.sub(r"\\f(\[[^]]*\]|.)", "", text)
    for escape, plain in [("\\,", ""), ("\\/", ""), ("\\-", "-"), ("\\(aq", "'"), ("\\(en", "-"), ("\\~", " ")]:
        text = text.replace(escape, plain)
    return text


def sections(roff):
    parts = re.split(r'^\.SH +"?([^"\n]*)"?\n', roff, flags=re.M)
    return {parts[i]: parts[i + 1] for i in range(1, len(parts), 2)}


def check_control(deb, version, app_id):
    print(run(["dpkg-deb", "-I", deb]).stdout)
    field = lambda name: run(["dpkg-deb", "-f", deb, name]).stdout.strip()
    check(field("Package") == "drovane" and field("Section") == "sound", "package name or section")
    check(field("Homepage") == "https://drovane.quorla.org", "homepage")
    check(re.fullmatch(r".+ <[^@ ]+@[^@ ]+>", field("Maintainer")), "maintainer: " + field("Maintainer"))
    check(os.path.basename(deb) == f"drovane_{version}_{field('Architecture')}.deb", "file name " + deb)
    depends = [re.split(r"[ (]", d.strip())[0] for d in field("Depends").split(",")]
    for wanted in ["fonts-dejavu-core", "libsdl2-2.0-0", "libsndfile1", "libcairo2", "libc6"]:
        check(wanted in depends, f"Depends lacks {wanted}: {field('Depends')}")
    listing = run(["dpkg-deb", "-c", deb]).stdout.splitlines()
    paths = {re.split(r"\s+", line, maxsplit=5)[5].split(" -> ")[0].lstrip("./") for line in listing}
    share = "usr/share/"
    wanted = [f"usr/bin/{p}" for p in PROGRAMS] + [f"{share}man/man1/{p}.1.gz" for p in PROGRAMS]
    wanted += [f"{share}bash-completion/completions/{p}" for p in PROGRAMS]
    wanted += [f"{share}applications/{app_id}.desktop", f"{share}metainfo/{app_id}.metainfo.xml"]
    wanted += [f"{share}icons/hicolor/{s}x{s}/apps/{app_id}.png" for s in (48, 128, 256)]
    wanted += [f"{share}icons/hicolor/scalable/apps/{app_id}.svg", f"{share}doc/drovane/copyright"]
    wanted += [f"{share}doc/drovane/changelog.gz"]
    check(not set(wanted) - paths, f"the package lacks {sorted(set(wanted) - paths)}")
    stray = [p for p in paths if p.rstrip("/") not in ("", "usr") and not p.startswith(("usr/bin", "usr/share"))]
    check(not stray, f"files outside usr/bin and usr/share: {stray}")
    return depends


def check_programs(bin_dir, version, scratch):
    for p in PROGRAMS:
        r = run([f"{bin_dir}/{p}", "--version"])
        check(r.returncode == 0 and r.stdout == f"{p} {version}\n", f"{p} --version: {r.stdout}{r.stderr}")
        r = run([f"{bin_dir}/{p}", "--help"])
        check(r.returncode == 0 and r.stdout.startswith("Usage: "), f"{p} --help: {r.stderr}")
    r = run([f"{bin_dir}/drovane", "--screen", "headless", "--capture", "demo", "--playback", "null",
             "--duration", "3", "--trace-text", "--screenshot", "tuner.png"], cwd=scratch)
    check(r.returncode == 0 and "\tSTATIC\tE" in r.stdout and " Hz" in r.stdout, f"headless tuner: {r.stderr}")
    with open(f"{scratch}/tuner.png", "rb") as shot:
        check(shot.read(8) == b"\x89PNG\r\n\x1a\n", "the tuner's screenshot is no PNG")
    r = run([f"{bin_dir}/drovane-analyze", "--demo"])
    check(r.returncode == 0 and "E-2 (E2)" in r.stdout, f"drovane-analyze --demo: {r.stderr}")
    r = run([f"{bin_dir}/drovane-tone", "--string", "1", "--out", f"{scratch}/e.wav"])
    check(r.returncode == 0 and os.path.getsize(f"{scratch}/e.wav") > 44, f"drovane-tone: {r.stderr}")


def check_page(program, page, options, bin_dir, scratch):
    # Whole and without a warning in the plain C locale as in a UTF-8 one: a
    # character troff has no ASCII form for is lost in C, with a warning.
    for locale in ("C", "C.UTF-8"):
        env = dict(os.environ, MANWIDTH="80", LC_ALL=locale)
        r = run(["man", "--warnings", "-l", page], env=env)
        check(r.returncode == 0 and not r.stderr.strip(), f"{page} renders with warnings in {locale}: {r.stderr}")
        if program == "drovane-analyze":
            check('{"file":...,"time_s":...,...}' in r.stdout, f"{page} in {locale} lacks the --json example whole")
    with gzip.open(page, "rt") as f:
        roff = f.read()
    parts = sections(roff)
    needed = PAGE_SECTIONS + (TUNER_SECTIONS if program == "drovane" else [])
    check(not [s for s in needed if s not in parts], f"{program}(1) lacks sections {set(needed) - set(parts)}")
    listed = set(re.findall(r"--[a-z][\w-]*", deroff(parts.get("OPTIONS", ""))))
    check(set(options) <= listed, f"{program}(1) OPTIONS lacks {sorted(set(options) - listed)}")
    named = set(re.findall(r"(?<![\w-])--[a-z][\w-]*", deroff(roff)))
    check(named <= set(options), f"{program}(1) names options its --help does not: {sorted(named - set(options))}")
    if program == "drovane":
        check_script_example(parts.get("SCRIPT FORMAT", ""), bin_dir, scratch)


def check_script_example(text, bin_dir, scratch):
    """The script shown in drovane(1) runs as it stands."""
    block = re.search(r"^\.nf\n(.*?)^\.fi", text, re.S | re.M)
    if not check(block, "drovane(1) shows no example script"):
        return
    script = "".join(line + "\n" for line in deroff(block.group(1)).splitlines() if not line.startswith("."))
    with open(f"{scratch}/example.script", "w") as f:
        f.write(script)
    r = run([f"{bin_dir}/drovane", "--screen", "headless", "--capture", "demo", "--playback", "null",
             "--script", "example.script"], cwd=scratch)
    shots = re.findall(r"screenshot (\S+)", script)
    check(r.returncode == 0 and shots and all(os.path.exists(f"{scratch}/{s}") for s in shots),
          f"drovane(1)'s example script: {r.stderr}")


def check_desktop_entry(entry, app_id, bin_dir, options):
    if have("desktop-file-validate"):
        r = run(["desktop-file-validate", entry])
        check(r.returncode == 0 and not r.stdout.strip(), f"desktop-file-validate: {r.stdout}")
    text = open(entry).read()
    check(f"\nStartupWMClass={app_id}\n" in text and f"\nIcon={app_id}\n" in text, "class or icon of " + entry)
    execs = re.findall(r"^Exec=(.*)$", text, re.M)
    check(any("--precise" in e for e in execs), "no desktop action starts the tuner in its precise mode")
    check(any("--strum" in e for e in execs), "no desktop action starts the tuner's strum check")
    for command in execs:
        program, *args = command.split()
        check(os.path.exists(f"{bin_dir}/{program}"), f"the desktop entry starts {program}, not in the package")
        unknown = [a for a in args if a.startswith("--") and a.split("=")[0] not in options.get(program, {})]
        check(not unknown, f"the desktop entry passes options --help does not list: {unknown}")


def check_metainfo(root, app_id, version, changelog):
    metainfo = f"{root}/usr/share/metainfo/{app_id}.metainfo.xml"
    if have("appstreamcli"):
        r = run(["appstreamcli", "validate", "--no-net", metainfo])
        print(r.stdout)
        complaints = [line for line in r.stdout.splitlines() if re.match(r"[EW]: ", line)]
        check(r.returncode == 0 and not complaints, f"appstreamcli validate: {complaints}")
    component = ET.parse(metainfo).getroot()
    check(component.findtext("id") == app_id and component.findtext("launchable") == f"{app_id}.desktop",
          "the metainfo's id or launchable")
    provided = {b.text for b in component.iter("binary")}
    check(provided == set(PROGRAMS), f"the metainfo provides {provided}")
    release = component.find("releases/release")
    top = re.match(r"drovane \((\S+)\)", changelog)
    date = email.utils.parsedate_to_datetime(re.search(r"^ -- .*>  (.*)$", changelog, re.M).group(1))
    check(release.get("version") == version == top.group(1), "versions of the program, changelog and metainfo")
    check(release.get("date") == date.strftime("%Y-%m-%d"), "the metainfo's release date is not the changelog's")


def check_copyright(root, source, depends):
    text = open(f"{root}/usr/share/doc/drovane/copyright").read()
    # A sanitizer build adds the sanitizers' runtimes, which a release never needs.
    unnamed = [d for d in depends if d not in text and not re.fullmatch(r"lib(asan|ubsan|tsan)\d+", d)]
    check(not unnamed, f"the copyright file names no licence for {unnamed}")
    licence = open(f"{source}/LICENSE").read().split("\n\n", 2)[2].split()
    body = text[text.rindex("License: MIT\n") + len("License: MIT\n"):].replace("\n .\n", "\n").split()
    check(body == licence, "the copyright file's MIT text differs from LICENSE")


def completion_check(placeholder, description):
    """(words that must be offered, the probe files that must be, whether others may be), from --help."""
    files = {"take.wav", "shot.png", "notes.txt"}
    if "|" in placeholder:
        return set(placeholder.split("|")), set(), False
    if "FILE" in placeholder:
        named = re.search(r"\b(WAV|PNG) file", description)
        ext = placeholder.partition(".")[2] or (named.group(1).lower() if named else "")
        return set(), {f for f in files if not ext or f.endswith("." + ext)}, False
    if placeholder == "NOTE":
        return NOTES, set(), False
    if placeholder in NUMBERS:
        span = re.search(r"\b(\d+)\.\.(\d+)\b", description)
        return {str(n) for n in range(int(span.group(1)), int(span.group(2)) + 1)} if span else set(), set(), False
    choices = re.split(r", | or ", description.split("(")[0].strip())
    words = {m.group(1) + (":" if m.group(2).startswith(":") else "")
             for m in (re.fullmatch(r"([a-z][\w-]*)((?:\[?:[A-Z]+\]?)?)", c) for c in choices) if m}
    check(words, f"cannot tell the values of a {placeholder} from --help: '{description}'")
    ext = next((c.partition(".")[2] for c in choices if c.startswith("FILE.")), "")
    wanted = {f for f in files if not ext or f.endswith("." + ext)} if "file" in description.lower() else set()
    return words, wanted, True


BASH_DRIVER = r"""
source /usr/share/bash-completion/bash_completion
__load_completion "$1" || { echo "no completion loaded for $1"; exit 1; }
complete -p "$1"
shift
while IFS=$'\t' read -r -a COMP_WORDS; do
    [[ ${COMP_WORDS[-1]} == @ ]] && COMP_WORDS[-1]=''
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); COMP_LINE="${COMP_WORDS[*]}"; COMP_POINT=${#COMP_LINE}; COMPREPLY=()
    _drovane "${COMP_WORDS[0]}" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}" 2>/dev/null
    printf '%s\n' "${COMPREPLY[*]}"
done
"""


def check_completion(root, bin_dir, program, options, scratch):
    """Loads the program's completion as bash-completion would and completes each option and its value."""
    probe = f"{scratch}/probe"
    os.makedirs(probe, exist_ok=True)
    for name in ["take.wav", "shot.png", "notes.txt"]:
        open(f"{probe}/{name}", "w").close()
    queries = [[program, "--"]] + [[program, o, ""] for o, (value, _) in options.items() if value]
    env = dict(os.environ, PATH=f"{bin_dir}:{os.environ['PATH']}", XDG_DATA_DIRS=f"{root}/usr/share",
               BASH_COMPLETION_USER_DIR=f"{scratch}/none")
    r = run(["bash", "-c", BASH_DRIVER, "bash", program], cwd=probe, env=env,
            input="".join("\t".join(w or "@" for w in q) + "\n" for q in queries))
    lines = r.stdout.split("\n")
    if not check(r.returncode == 0 and lines[0] == f"complete -F _drovane {program}", f"loading: {r.stdout}"):
        return
    check(set(lines[1].split()) == set(options), f"{program} -- completes {lines[1]}, --help lists {set(options)}")
    for query, offered in zip(queries[1:], lines[2:]):
        option, (placeholder, description) = query[1], options[query[1]]
        offered = set(offered.split())
        words, files, more = completion_check(placeholder, description)
        exact = words | files
        ok = (exact <= offered) if more else offered == exact
        ok = ok and not [w for w in offered if w.startswith("-")]
        check(ok, f"{program} {option} completes {sorted(offered)}; --help says {placeholder}: {description}")


def main():
    build, source, scratch, app_id = sys.argv[1:5]
    shutil.rmtree(scratch, ignore_errors=True)
    os.makedirs(scratch)
    for tool in ["cpack", "dpkg-deb", "dpkg-shlibdeps", "man"]:
        if not have(tool):
            return 77
    r = run(["cpack", "--config", f"{build}/CPackConfig.cmake", "-G", "DEB", "-B", f"{scratch}/out"])
    debs = [f"{scratch}/out/{f}" for f in os.listdir(f"{scratch}/out") if f.endswith(".deb")]
    if not check(r.returncode == 0 and len(debs) == 1, f"cpack: {r.stdout}{r.stderr}"):
        return 1
    deb, root = debs[0], f"{scratch}/root"
    version = run([f"{build}/app/drovane", "--version"]).stdout.split()[-1]
    depends = check_control(deb, version, app_id)
    if have("lintian"):
        r = run(["lintian", "--fail-on", "error", deb])
        print("lintian:", r.stdout or "nothing to say")
        check(r.returncode == 0, "lintian finds errors")
    check(run(["dpkg-deb", "-x", deb, root]).returncode == 0, "dpkg-deb -x")
    bin_dir = f"{root}/usr/bin"
    check_programs(bin_dir, version, scratch)
    options = {p: help_options(f"{bin_dir}/{p}") for p in PROGRAMS}
    check(all("--help" in o and "--version" in o for o in options.values()), f"options read from --help: {options}")
    for p in PROGRAMS:
        check_page(p, f"{root}/usr/share/man/man1/{p}.1.gz", options[p], bin_dir, scratch)
    check_desktop_entry(f"{root}/usr/share/applications/{app_id}.desktop", app_id, bin_dir, options)
    with gzip.open(f"{root}/usr/share/doc/drovane/changelog.gz", "rt") as f:
        check_metainfo(root, app_id, version, f.read())
    check_copyright(root, source, depends)
    completion = f"{root}/usr/share/bash-completion/completions/drovane"
    check(run(["bash", "-n", completion]).returncode == 0, "bash -n " + completion)
    if have("/usr/share/bash-completion/bash_completion"):
        for p in PROGRAMS:
            check_completion(root, bin_dir, p, options[p], scratch)
    if failures:
        return 1
    return 77 if missing_tools else 0


if __name__ == "__main__":
    sys.exit(main())
