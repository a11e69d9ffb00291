"""The registers of a flow monitor whose parameters hold their description's default values (or
the values given), laid out as the description's register map says: for the test servers."""


def raw_value(entry, value):
    raw = round((float(value) - entry.get("offset", 0)) / entry.get("scale", 1))
    return raw & 0xFFFF


def registers(description, overrides):
    defaults = {}
    for module in description["modules"]:
        for group in module["groups"]:
            for p in group["parameters"]:
                defaults[p["name"]] = p.get("default")
    defaults.update(overrides)
    tables = {"holding": {}, "input": {}}
    for entry in description["modbus"]["registers"]:
        if "sameAs" in entry:  # the owner's register holds the one value both names give
            continue
        value = defaults.get(entry["parameter"])
        if entry["type"] in ("int32", "uint32"):
            raw = int(value or 0)
            words = [(raw >> 16) & 0xFFFF, raw & 0xFFFF]
            if entry.get("wordOrder", description["modbus"]["wordOrder"]) == "low-word-first":
                words.reverse()
        else:
            words = [raw_value(entry, value) if isinstance(value, (int, float)) or _numeric(value) else 0]
        for i, w in enumerate(words):
            tables[entry["table"]][entry["address"] + i] = w
    return tables


def _numeric(text):
    try:
        float(text)
        return True
    except (TypeError, ValueError):
        return False
