"""What a screen reader reads of the desktop program over AT-SPI, and what the keyboard
does in the real window. Every check starts the program afresh, in a folder of its own, and
waits for what it expects by asking again and again, up to a bound.

Usage: tst_accessible.py PROGRAM [CHECK...]   (run by run.sh, under X and D-Bus)
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

PROGRAM = os.path.abspath(sys.argv[1])
BOUND = 60  # seconds anything awaited may take, on a busy machine too
MAIN_CAPTION = "渐变文字代码生成器"


class Failure(Exception):
    pass


def pump():
    context = GLib.MainContext.default()
    while context.iteration(False):
        pass


def wait_for(what, check, bound=BOUND):
    deadline = time.monotonic() + bound
    seen = None
    while time.monotonic() < deadline:
        pump()
        try:
            seen = check()
        except Exception:  # the tree changed under the question: ask again
            seen = None
        if seen:
            return seen
        time.sleep(0.05)
    raise Failure("no %s within %d s" % (what, bound))


def walk(node, depth=0):
    yield node
    if depth > 40:
        return
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, depth + 1)


def has(node, state):
    return node.getState().contains(state)


def role(node):
    return node.getRoleName()


def actions(node):
    try:
        action = node.queryAction()
    except NotImplementedError:
        return {}
    return {action.getName(i): i for i in range(action.nActions)}


def press(node, name="Press"):
    node.queryAction().doAction(actions(node)[name])


def key(*names):
    subprocess.run(["xdotool", "key", "--delay", "60"] + list(names), check=True)


class Program:
    """The desktop program on the accessibility bus, its main window under the keyboard."""

    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix="rainquill-a11y-")
        self.process = None
        self.focus_events = []
        pyatspi.Registry.registerEventListener(self._focus_event, "object:state-changed:focused")
        try:
            self._open()
        except Exception:
            self.close()
            raise

    def _open(self):
        # Ten all-black custom schemes, so that no message box comes first.
        with open(os.path.join(self.folder, "color.dat"), "wb") as f:
            f.write(b"0\r\n" * 60)
        # The registry answers before the program starts: a program that finds no registry
        # is never listed.
        wait_for("accessibility registry", lambda: pyatspi.Registry.getDesktop(0).childCount >= 0)
        for attempt in (1, 2):  # a program that is not listed in time is started once more
            self._start()
            try:
                self.app = wait_for("program on the accessibility bus", self._app, BOUND // 2)
                break
            except Failure:
                if attempt == 2:
                    raise
        self.main = wait_for("main window", lambda: self.window(MAIN_CAPTION))
        window = wait_for("X window", lambda: subprocess.run(
            ["xdotool", "search", "--name", MAIN_CAPTION], capture_output=True, text=True).stdout.split())
        subprocess.run(["xdotool", "windowfocus", "--sync", window[0]], check=True)
        wait_for("focus in the input pane", lambda: self.focused() == ["要转换的文字"])

    def _start(self):
        if self.process:
            self.process.kill()
            self.process.wait()
        environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
                           QT_QPA_PLATFORM="xcb")
        self.process = subprocess.Popen([PROGRAM], cwd=self.folder, env=environment,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def _app(self):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == self.process.pid:
                return app
        return None

    def _focus_event(self, event):
        if event.detail1 == 1:
            self.focus_events.append((event.source.name, event.source.description))

    def close(self):
        pyatspi.Registry.deregisterEventListener(self._focus_event, "object:state-changed:focused")
        if self.process:
            self.process.kill()
            self.process.wait()
        shutil.rmtree(self.folder, ignore_errors=True)

    def window(self, caption):
        for i in range(self.app.childCount):
            window = self.app.getChildAtIndex(i)
            if window is not None and window.name.startswith(caption) and has(window, pyatspi.STATE_SHOWING):
                return window
        return None

    def find(self, name, kind=None, root=None):
        for node in walk(root or self.main):
            if node.name == name and (kind is None or role(node) == kind):
                return node
        raise Failure("no %s named %r" % (kind or "object", name))

    def all(self, name):
        return [node for i in range(self.app.childCount) for node in walk(self.app.getChildAtIndex(i))
                if node.name == name]

    def focused(self):
        """The names of the objects a screen reader takes as focused."""
        names = []
        for i in range(self.app.childCount):
            for node in walk(self.app.getChildAtIndex(i)):
                state = node.getState()
                if state.contains(pyatspi.STATE_FOCUSED) and state.contains(pyatspi.STATE_FOCUSABLE):
                    names.append(node.name)
        return names


def expect(condition, message):
    if not condition:
        raise Failure(message)


# The checks, each on a program of its own.

def check_f10_runs_a_command(p):
    """F10 highlights the first title; Right, Enter opens the version check; Esc on it gives
    the focus back to the input pane."""
    key("F10")
    wait_for("menu bar title under the keyboard", lambda: p.find("配色方案", "menu item").getState().contains(
        pyatspi.STATE_SELECTED) or p.find("配色方案", "menu item").getState().contains(pyatspi.STATE_FOCUSED))
    key("Right", "Return")
    wait_for("version check window", lambda: p.window("检查新版本"))
    key("Escape")
    wait_for("version check window closed", lambda: p.window("检查新版本") is None)
    wait_for("focus back in the input pane", lambda: p.focused() == ["要转换的文字"])


def check_alt_alone_runs_a_command(p):
    """Alt pressed and released alone, Right, Right, Enter opens the about window; Esc
    brings the focus back."""
    key("Alt_L")
    key("Right", "Right", "Return")
    wait_for("about window", lambda: p.window("感谢使用与支持！"))
    key("Escape")
    wait_for("about window closed", lambda: p.window("感谢使用与支持！") is None)
    wait_for("focus back in the input pane", lambda: p.focused() == ["要转换的文字"])


def check_menu_opens_from_the_keyboard(p):
    """F10, Down opens "配色方案"; its second item shows the custom swatches; Esc on the bar
    gives the focus back."""
    key("F10", "Down", "Down", "Return")
    wait_for("custom swatches", lambda: has(p.find("自定义方案(鼠标右键单击改变方案)", "list"), pyatspi.STATE_SHOWING))
    wait_for("focus back in the input pane", lambda: p.focused() == ["要转换的文字"])
    key("F10")
    wait_for("focus on the menu bar", lambda: p.focused() != ["要转换的文字"])
    key("Escape")
    wait_for("focus back in the input pane after Esc", lambda: p.focused() == ["要转换的文字"])


def grid_focus(p, grid, moves, name, description):
    p.find(grid, "list").queryComponent().grabFocus()
    wait_for("focus on the grid's first swatch", lambda: len(p.focused()) == 1)
    del p.focus_events[:]
    key(*moves)
    wait_for("focus told on %s" % name, lambda: (name, description) in p.focus_events)
    wait_for("%s the only focused object" % name, lambda: p.focused() == [name])


def check_scheme_grid_tells_the_swatch(p):
    grid_focus(p, "默认方案(点击下列色块快速选色)", ["Down"], "默认方案2", "从 #0000FF 到 #00F0FF")
    # The applied scheme is the selected swatch: 1 at start, 2 once chosen.
    expect(has(p.find("默认方案1", "list item"), pyatspi.STATE_SELECTED), "scheme 1 not selected at start")
    key("Return")
    wait_for("scheme 2 selected", lambda: has(p.find("默认方案2", "list item"), pyatspi.STATE_SELECTED))
    expect(not has(p.find("默认方案1", "list item"), pyatspi.STATE_SELECTED), "scheme 1 still selected")


def check_background_grid_tells_the_swatch(p):
    grid_focus(p, "背景颜色", ["Down", "Down", "Right"], "背景颜色 #FF0000", "")
    key("space")
    wait_for("red selected", lambda: has(p.find("背景颜色 #FF0000", "list item"), pyatspi.STATE_SELECTED))


def check_editor_gives_the_swatch_back(p):
    """The editor opened with the Menu key on custom scheme 2 closes back onto it."""
    key("F10", "Down", "Down", "Return")
    grid_focus(p, "自定义方案(鼠标右键单击改变方案)", ["Down"], "自定义方案2", "从 #000000 到 #000000")
    key("Menu")
    wait_for("editor of scheme 2", lambda: p.window("自定义方案 方案2"))
    key("Escape")
    wait_for("editor closed", lambda: p.window("自定义方案 方案2") is None)
    wait_for("focus back on custom scheme 2", lambda: p.focused() == ["自定义方案2"])


def check_names_follow_the_painted_text(p):
    p.find("检查新版本", "menu item")
    press(p.find("检查新版本", "menu item"))
    check = wait_for("version check window", lambda: p.window("检查新版本"))
    labels = [node.name for node in walk(check) if role(node) == "label"]
    expect("当前版本：V2.2.0" in labels, "version line read as %r" % labels)
    wait_for("message line read as painted", lambda: any(
        node.name.startswith("正在连接中... ") and node.name.endswith("秒") for node in walk(check)))
    key("Escape")
    wait_for("version check window closed", lambda: p.window("检查新版本") is None)
    key("a", "b", "c")
    wait_for("input caption read with its count", lambda: p.find("要转换的文字(3个字符)", "panel"))


def check_roles_and_actions(p):
    views = [p.find(name, "radio button") for name in ("预览", "混合", "代码")]
    expect([has(v, pyatspi.STATE_CHECKED) for v in views] == [True, False, False], "预览 not the one checked")
    press(views[2])
    wait_for("code pane showing", lambda: has(p.find("生成的代码(0个字符)", "panel"), pyatspi.STATE_SHOWING)
             and not has(p.find("要转换的文字(0个字符)", "panel"), pyatspi.STATE_SHOWING))
    expect([has(v, pyatspi.STATE_CHECKED) for v in views] == [False, False, True], "代码 not the one checked")

    step = p.find("每几个字递进一次颜色", "spin button").queryValue()
    expect((step.currentValue, step.minimumValue, step.maximumValue, step.minimumIncrement) == (1, 1, 100, 1),
           "step box value %r" % ((step.currentValue, step.minimumValue, step.maximumValue, step.minimumIncrement),))
    step.currentValue = 7
    box = p.find("每几个字递进一次颜色", "spin button")
    wait_for("step text 7", lambda: box.queryText().getText(0, -1) == "7")
    expect(len(p.all("步长加一")) == 1 and len(p.all("步长减一")) == 1, "step arrows listed more than once")

    press(p.find("关于 Rainquill", "menu item"))
    about = wait_for("about window", lambda: p.window("感谢使用与支持！"))
    links = [node for node in walk(about) if role(node) == "link"]
    expect(len(links) == 4 and all("Press" in actions(link) for link in links),
           "about window's links: %r" % [(link.name, actions(link)) for link in links])
    for node in list(walk(about)) + list(walk(p.main)):
        expect("\r" not in node.name, "a raw CR LF in %r" % node.name)
        try:
            text = node.queryText()
            expect("\r" not in text.getText(0, -1), "a raw CR LF in the text of %r" % node.name)
        except NotImplementedError:
            pass


CHECKS = {name[len("check_"):]: function for name, function in globals().items() if name.startswith("check_")}


def main():
    chosen = sys.argv[2:] or list(CHECKS)
    failed = []
    for name in chosen:
        program = None
        try:
            program = Program()
            CHECKS[name](program)
            print("PASS   : %s" % name)
        except Exception as error:  # a check that cannot run fails as well
            print("FAIL!  : %s: %s" % (name, error))
            failed.append(name)
        finally:
            if program:
                program.close()
    print("Totals: %d passed, %d failed" % (len(chosen) - len(failed), len(failed)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
