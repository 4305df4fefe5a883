"""scripts/check-layers on a scratch tree of the program's layers: clean, it passes; with one
use of a folder above, in whichever form, it fails and names the place.

Usage: check_layers_test.py PATH-OF-CHECK-LAYERS
"""

import os
import subprocess
import sys
import tempfile
import unittest

CHECK = sys.argv.pop(1) if len(sys.argv) > 1 else None
FOLDERS = ["kai", "settings", "log", "service", "analytics", "upload", "updater", "editor",
           "capture", "app", "app/windows"]
BOUND = "target_link_options({0} PRIVATE -Wl,--no-undefined)\n"
CLEAN = {
    "settings/setting.h": "#pragma once\n",
    "app/core.h": "#pragma once\n",
    "app/core.cpp": '#include "core.h"\n#include <QString>\n#include <setting.h>\n',
    "app/windows/audioimagefile.h": "#pragma once\n",
    "kai/CMakeLists.txt": "add_library(kai SHARED kai.cpp)\n" + BOUND.format("kai"),
    "app/CMakeLists.txt": "add_library(kuvo_program SHARED core.cpp)\n"
                          "target_link_libraries(kuvo_program PRIVATE kuvo_settings)\n"
                          + BOUND.format("kuvo_program"),
    "app/windows/CMakeLists.txt": "add_library(kuvo_windows MODULE w.cpp)\n"
                                  + BOUND.format("kuvo_windows"),
}
# What each case adds to a file of the clean tree, and what the check must say (nothing when
# it passes).
CASES = [
    ("clean tree", "app/core.h", "", ""),
    ("quoted include", "app/core.cpp", '#include "audioimagefile.h"\n',
     "app/core.cpp:4: includes app/windows/audioimagefile.h"),
    ("angled include with its folder", "app/core.cpp", "#  include <windows/audioimagefile.h>\n",
     "app/core.cpp:4: includes app/windows/audioimagefile.h"),
    ("link line", "app/CMakeLists.txt", "target_link_libraries(kuvo_program PRIVATE kuvo_windows)\n",
     "app/CMakeLists.txt: links kuvo_windows of app/windows/"),
    ("shared library without --no-undefined", "log/CMakeLists.txt",
     "add_library(kuvo_log SHARED log.cpp)\n", "log/CMakeLists.txt: kuvo_log links without"),
]


class CheckLayers(unittest.TestCase):
    def tree(self, file, line):
        root = tempfile.mkdtemp()
        self.addCleanup(subprocess.run, ["rm", "-rf", root])
        files = {folder + "/CMakeLists.txt": "" for folder in FOLDERS} | CLEAN
        files[file] += line
        for name, text in files.items():
            os.makedirs(os.path.join(root, os.path.dirname(name)), exist_ok=True)
            with open(os.path.join(root, name), "w") as target:
                target.write(text)
        return subprocess.run([sys.executable, CHECK, root], capture_output=True, text=True)

    def test_faults_are_named(self):
        for name, file, line, said in CASES:
            with self.subTest(name):
                result = self.tree(file, line)
                fails = bool(said)
                self.assertEqual((result.returncode, result.stderr != ""), (int(fails), fails))
                self.assertIn(said, result.stderr)


if __name__ == "__main__":
    unittest.main()
