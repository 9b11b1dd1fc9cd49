#!/usr/bin/env python3
"""Parses a project.yml with a real YAML parser and prints, as JSON, the parts
the tests check: build configurations, per-configuration settings, targets,
their sources and the app scheme's variants."""
import json
import sys

import yaml

with open(sys.argv[1], encoding="utf-8") as handle:
    project = yaml.safe_load(handle)

targets = project.get("targets") or {}
app = targets.get(project["name"]) or {}
summary = {
    "name": project["name"],
    "configs": project.get("configs") or {},
    "configSettings": {
        name: (values or {}).get("OTHER_SWIFT_FLAGS")
        for name, values in ((project.get("settings") or {}).get("configs") or {}).items()
    },
    "packages": sorted((project.get("packages") or {}).keys()),
    "targets": {name: {"type": t.get("type"), "sources": t.get("sources"),
                       "info": (t.get("info") or {}).get("path"),
                       "bundle": (t.get("settings") or {}).get("PRODUCT_BUNDLE_IDENTIFIER"),
                       "deploymentTarget": str(t.get("deploymentTarget"))}
                for name, t in targets.items()},
    "configVariants": (app.get("scheme") or {}).get("configVariants"),
    "testTargets": (app.get("scheme") or {}).get("testTargets"),
}
json.dump(summary, sys.stdout, ensure_ascii=False)
