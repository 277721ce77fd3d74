"""The layer check on small made-up trees: every offence found once, nothing
else reported, and the allow-list passing only what it names."""
import os
import subprocess
import sys
import tempfile
import unittest

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "check_layers.py")


class Checkout:
    """A git work tree of its own holding `files` ({path: includes})."""

    def __init__(self, test, files, tracked=True):
        temp = tempfile.TemporaryDirectory()
        test.addCleanup(temp.cleanup)
        self.root = temp.name
        subprocess.run(["git", "init", "-q", self.root], check=True)
        for path, includes in files.items():
            self.write(path, includes)
        if tracked:
            subprocess.run(["git", "-C", self.root, "add", "."], check=True)

    def write(self, path, includes):
        full = os.path.join(self.root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w") as f:
            f.write("// made up\n" + "".join("#include %s\n" % i for i in includes))

    def check(self, allow=None):
        args = [sys.executable, SCRIPT, self.root]
        if allow is not None:
            path = os.path.join(self.root, "allow.txt")
            with open(path, "w") as f:
                f.write("# known\n" + "".join(line + "\n" for line in allow))
            args += ["--allow", path]
        result = subprocess.run(args, capture_output=True, text=True)
        lines = {line for line in result.stdout.splitlines() if not line.startswith("check_layers:")}
        return result.returncode, lines


HEADERS = {p: [] for p in [
    "base/text.h", "events/event.h", "settings/ini.h", "update/fetch.h", "framework/dialog.h",
    "skin/button.h", "grid/grid.h", "forms/choice.h", "dialogs/editor.h", "reminders/popup.h", "app/main.h",
    "res/resource.h", "cli/command.h", "framework/testing/ui.h", "dialogs/testing/support.h", "repeat/rule.h",
    "res/testing/stand_in.h", "update/testing/server.h"]}


class Layers(unittest.TestCase):
    def test_downward_includes_pass(self):
        tree = Checkout(self, dict(HEADERS, **{
            "base/text.cpp": ['"base/text.h"', "<string>", '"not_ours.h"'],
            "update/fetch.cpp": ['"base/text.h"', '"update/fetch.h"'],
            "framework/dialog.cpp": ['"base/text.h"', '"framework/dialog.h"'],
            "grid/grid.cpp": ['"framework/dialog.h"', '"base/text.h"'],
            # The parts the editors and the popup share: toolkit and domain.
            "forms/choice.cpp": ['"skin/button.h"', '"events/event.h"', '"settings/ini.h"', '"forms/choice.h"'],
            "dialogs/editor.cpp": ['"forms/choice.h"', '"update/fetch.h"'],
            "reminders/popup.cpp": ['"skin/button.h"', '"grid/grid.h"', '"res/resource.h"', '"forms/choice.h"'],
            "app/main.cpp": ['"dialogs/editor.h"', '"reminders/popup.h"', '"res/resource.h"', "<base/text.h>"],
            "res/tallyo.rc": ['"resource.h"', '"skin/button.h"', '"framework/dialog.h"'],
            "cli/command.cpp": ['"update/fetch.h"', '"events/event.h"', '"cli/command.h"'],
            # A fuzz target runs as a test: it may feed its input through test helpers.
            "fuzz/fetch_fuzz.cpp": ['"update/fetch.h"', '"settings/ini.h"', '"update/testing/server.h"'],
            # Tests and helpers: res/ and the testing/ folders of what they may include.
            "skin/button_test.cpp": ['"res/resource.h"', '"framework/testing/ui.h"', '"res/testing/stand_in.h"'],
            "dialogs/testing/support.cpp": ['"framework/testing/ui.h"', '"res/resource.h"'],
            "cli/command_test.cpp": ['"update/testing/server.h"'],
            "cli/bench/export_bench.cpp": ['"update/testing/server.h"'],
            "update/fetch_test.cpp": ['"update/testing/server.h"'],
        }))
        self.assertEqual(tree.check(), (0, set()))

    def test_each_wrong_arrow_is_reported_with_its_line(self):
        tree = Checkout(self, dict(HEADERS, **{
            "events/store.cpp": ['"base/text.h"', '"settings/ini.h"'],
            "base/clock.cpp": ['"events/event.h"'],
            "framework/window.cpp": ['"skin/button.h"'],
            "skin/dressing.cpp": ['"grid/grid.h"', '"res/resource.h"'],
            "dialogs/editor.cpp": ['"reminders/popup.h"', '"app/main.h"'],
            "res/tallyo.rc": ['"grid/grid.h"'],
            "cli/command.cpp": ['"framework/dialog.h"'],
            "fuzz/cli_fuzz.cpp": ['"cli/command.h"'],
            # The window toolkit knows no domain, though the domain lies below it.
            "framework/dialog.cpp": ['"settings/ini.h"', '"events/event.h"'],
            "skin/link.cpp": ['"update/fetch.h"', '"base/text.h"'],
            "grid/cells.cpp": ['"repeat/rule.h"', '"events/event.h"'],
            "skin/button_test.cpp": ['"events/event.h"'],
            "forms/choice.cpp": ['"dialogs/editor.h"', '"reminders/popup.h"', '"res/resource.h"'],
            "tools/helper.cpp": ['"base/text.h"'],
            # Tests keep their folder's arrows, and product code no helpers.
            "reminders/popup_test.cpp": ['"dialogs/testing/support.h"'],
            "events/store_test.cpp": ['"res/resource.h"', '"update/fetch.h"'],
            "update/fetch.cpp": ['"update/testing/server.h"'],
            "dialogs/editor_bench.cpp": ['"framework/testing/ui.h"'],
        }))
        self.assertEqual(tree.check(), (1, {
            "events/store.cpp:3: events may not include settings/",
            "base/clock.cpp:2: base may not include events/",
            "framework/window.cpp:2: framework may not include skin/",
            "skin/dressing.cpp:2: skin may not include grid/",
            "skin/dressing.cpp:3: skin may not include res/",
            "dialogs/editor.cpp:2: dialogs may not include reminders/",
            "dialogs/editor.cpp:3: dialogs may not include app/",
            "res/tallyo.rc:2: res may not include grid/",
            "cli/command.cpp:2: cli may not include framework/",
            "fuzz/cli_fuzz.cpp:2: fuzz may not include cli/",
            "framework/dialog.cpp:2: framework may not include settings/",
            "framework/dialog.cpp:3: framework may not include events/",
            "skin/link.cpp:2: skin may not include update/",
            "grid/cells.cpp:2: grid may not include repeat/",
            "grid/cells.cpp:3: grid may not include events/",
            "skin/button_test.cpp:2: skin may not include events/",
            "forms/choice.cpp:2: forms may not include dialogs/",
            "forms/choice.cpp:3: forms may not include reminders/",
            "forms/choice.cpp:4: forms may not include res/",
            "tools/helper.cpp:2: tools/ has no place in the layers",
            "reminders/popup_test.cpp:2: reminders may not include dialogs/",
            "events/store_test.cpp:3: events may not include update/",
            "update/fetch.cpp:2: product code may not include update/testing/",
            "dialogs/editor_bench.cpp:2: product code may not include framework/testing/",
        }))

    def test_an_include_in_another_case_than_the_file(self):
        tree = Checkout(self, dict(HEADERS, **{
            "base/Clock.h": [],
            "events/event.cpp": ['"base/clock.h"', '"Base/text.h"', '"event.H"'],
        }))
        self.assertEqual(tree.check(), (1, {
            'events/event.cpp:2: #include "base/clock.h" differs in case from the file on disk, base/Clock.h',
            'events/event.cpp:3: #include "Base/text.h" differs in case from the file on disk, base/text.h',
            'events/event.cpp:4: #include "event.H" differs in case from the file on disk, events/event.h',
        }))

    def test_files_not_yet_added_to_git_are_checked_too(self):
        tree = Checkout(self, HEADERS)
        tree.write("base/new.cpp", ['"app/main.h"'])
        self.assertEqual(tree.check(), (1, {"base/new.cpp:2: base may not include app/"}))


class AllowList(unittest.TestCase):
    def setUp(self):
        self.tree = Checkout(self, dict(HEADERS, **{
            "update/server.cpp": ['"settings/ini.h"'],
            "skin/dressing.cpp": ['"res/resource.h"'],
        }))

    def test_listed_offences_pass_and_others_fail(self):
        listed = ["update/server.cpp -> settings/ini.h", "skin/dressing.cpp  ->  res/resource.h"]
        self.assertEqual(self.tree.check(listed), (0, set()))
        self.assertEqual(self.tree.check(listed[:1]),
                         (1, {"skin/dressing.cpp:2: skin may not include res/"}))
        # The same file including another folder is a new offence.
        self.tree.write("update/server.cpp", ['"settings/ini.h"', '"framework/dialog.h"'])
        self.assertEqual(self.tree.check(listed),
                         (1, {"update/server.cpp:3: update may not include framework/"}))

    def test_an_entry_whose_include_has_gone_fails_until_taken_off(self):
        self.tree.write("skin/dressing.cpp", [])
        code, lines = self.tree.check(["update/server.cpp -> settings/ini.h",
                                       "skin/dressing.cpp -> res/resource.h"])
        self.assertEqual(code, 1)
        self.assertEqual(len(lines), 1)
        self.assertTrue(next(iter(lines)).startswith("skin/dressing.cpp -> res/resource.h: listed in "))


if __name__ == "__main__":
    unittest.main()
