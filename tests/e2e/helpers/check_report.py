#!/usr/bin/env python3
"""check_report.py FILE...: each FILE holds exactly one document of setup --json
(one line) valid against docs/report.schema.json. Prints each problem and exits 1
when there is any."""
import json
import pathlib
import sys

import jsonschema

SCHEMA = json.loads((pathlib.Path(__file__).resolve().parents[3] / "docs" / "report.schema.json").read_text())


def problems(path):
    text = pathlib.Path(path).read_text(encoding="utf-8")
    lines = text.splitlines()
    if len(lines) != 1 or not text.endswith("\n"):
        return [f"{path}: {len(lines)} lines on standard output, not one document"]
    return [f"{path}: {error.message} at {list(error.absolute_path)}"
            for error in jsonschema.Draft202012Validator(SCHEMA).iter_errors(json.loads(text))]


if __name__ == "__main__":
    jsonschema.Draft202012Validator.check_schema(SCHEMA)
    failures = [problem for path in sys.argv[1:] for problem in problems(path)]
    for failure in failures:
        print(failure, file=sys.stderr)
    sys.exit(1 if failures else 0)
