"""Fast scan of an ASCII DXF file's ENTITIES section, without building a document: yields
(type, {group code: [values]}) for each entity. Used to pick the rooms to link and to compare
attribute texts of large drawings quickly."""


def entities(path):
    with open(path, "r", encoding="cp1252", errors="replace", newline=None) as f:
        lines = f.read().split("\n")
    n = len(lines) - 1
    i = 0
    in_entities = False
    current = None
    groups = None
    while i < n:
        code = lines[i].strip()
        value = lines[i + 1].rstrip("\r")
        i += 2
        if code == "0":
            if current is not None:
                yield current, groups
                current = None
            if value == "SECTION":
                continue
            if value == "ENDSEC":
                in_entities = False
                continue
            if in_entities:
                current, groups = value, {}
            continue
        if code == "2" and not in_entities and lines[i - 4].strip() == "0" and lines[i - 3].strip() == "SECTION":
            in_entities = value.strip() == "ENTITIES"
            continue
        if current is not None:
            groups.setdefault(code, []).append(value)
    if current is not None:
        yield current, groups
