#!/usr/bin/env python3
"""Parses a project.yml with a real YAML parser and prints, as JSON, the parts
the tests check: build configurations, per-configuration settings, packages,
targets, their sources, the app target's packages, plug-ins and build phases,
and the app scheme's variants."""
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
    "packageSources": {name: (p or {}).get("url") or (p or {}).get("path")
                       for name, p in (project.get("packages") or {}).items()},
    "appPackages": [d.get("package") for d in app.get("dependencies") or [] if "package" in d],
    "appProducts": [product for d in app.get("dependencies") or [] if "package" in d
                    for product in ([d["product"]] if "product" in d else d.get("products") or [d["package"]])],
    "appPlugins": [[p.get("plugin"), p.get("package")] for p in app.get("buildToolPlugins") or []],
    "preBuildScripts": [s.get("name") for s in app.get("preBuildScripts") or []],
    "targets": {name: {"type": t.get("type"), "sources": t.get("sources"),
                       "info": (t.get("info") or {}).get("path"),
                       "bundle": (t.get("settings") or {}).get("PRODUCT_BUNDLE_IDENTIFIER"),
                       "deploymentTarget": str(t.get("deploymentTarget"))}
                for name, t in targets.items()},
    "configVariants": (app.get("scheme") or {}).get("configVariants"),
    "testTargets": (app.get("scheme") or {}).get("testTargets"),
}
json.dump(summary, sys.stdout, ensure_ascii=False)
