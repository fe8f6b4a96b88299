"""Steps of passbook.exe that several end-to-end stories share: laying out a
store, answering message boxes, the sign-in, reading the store back with
edbtool. Each step checks what the user sees on the way."""

import atexit
import json
import os
import shutil
import tempfile
import time

import harness
from harness import OK, wait_for

OLIVE = (164, 185, 127)
DEFAULT_CAPTION = "信息："
LIST_CAPTION = "帐号管理"
STORE = "zhsj.edb"
# The nine account fields in the store's position order.
FIELDS = ("账号", "密码", "网站", "网址", "邮箱", "密保1", "密保2", "密保3", "备注")
MASTER = "登录密码"
SHELL_LOGGER = os.path.join(harness.BIN, "tests", "e2e", "e2e_shell_logger.exe")


def new_app(test, store=None):
    """A program in a fresh folder, stopped at the test's end. `store` is a
    file copied in as zhsj.edb; without it an empty store is made there."""
    app = harness.App(harness.PASSBOOK)
    test.addCleanup(app.stop)
    if store:
        app.put(store, STORE)
    else:
        made = app.wine(harness.EDBTOOL, "create", STORE)
        test.assertEqual(made.returncode, 0, "edbtool create")
    return app


def store_path(app):
    return os.path.join(app.folder, STORE)


def store_bytes(app):
    with open(store_path(app), "rb") as f:
        return f.read()


def dump(test, app):
    """The records of zhsj.edb: [{'record', 'deleted', 'fields': {...}}]."""
    got = app.wine(harness.EDBTOOL, "dump", STORE)
    test.assertEqual(got.returncode, 0, "edbtool dump")
    return [json.loads(line) for line in got.stdout.decode("utf-8").splitlines() if line]


def accounts(test, app):
    """The account records of the store as tuples of the nine fields."""
    records = dump(test, app)
    test.assertFalse(any(r["deleted"] for r in records), "a record left marked deleted")
    return [tuple(r["fields"][f] for f in FIELDS) for r in records[1:]]


def expect_box(test, app, text, caption=DEFAULT_CAPTION, icon=None, buttons=(OK,),
               answer=OK, shot=None):
    """Waits for the message box, checks it and answers it."""
    box = app.wait_box()
    test.assertEqual((box.text, box.caption), (text, caption))
    if icon is not None:
        test.assertEqual(has_icon(app, box), icon, f"icon of {text!r}")
    test.assertEqual(sorted(box.buttons), sorted(buttons), f"buttons of {text!r}")
    if shot:
        app.screenshot(shot)
    box.answer(answer)
    return box


def has_icon(app, box):
    """Whether the box shows an icon. Wine's boxes always hold the icon's
    static, under the start of the text when there is no icon; the icons are
    coloured (blue, red), the text and the face are grey."""
    for c in app.driver.call("controls", box.hwnd):
        if c["class"].lower() != "static" or c["id"] == harness.BOX_TEXT_ID:
            continue
        x, y, w, h = c["screen"]
        if not c["visible"] or w <= 0 or h <= 0:
            continue
        shot = app.screenshot("box-icon")
        os.remove(shot.path)
        app.shots -= 1
        pixels = [shot.pixel(x + i, y + j) for i in range(w) for j in range(h)]
        if sum(max(p) - min(p) > 60 for p in pixels) > 20:
            return True
    return False


def wait_active(window):
    """Waits until the window has the keyboard (real keys go to it)."""
    wait_for(f"{window.caption or window.id!r} in front", lambda: window.foreground)
    return window


def setup(test, app, password, shot=None):
    """The setup window takes the password twice; returns the first login window."""
    win = app.wait_window(id="setup")
    test.assertEqual(win.caption, "设置密码")
    win.wait_focus("编辑框_密码1")
    wait_active(win)
    if shot:
        app.screenshot(shot)
    app.type(password)
    app.key("Tab")
    win.wait_focus("编辑框_密码2")
    app.type(password)
    test.assertEqual(win.control("编辑框_密码1").text, password, "typed in clear")
    win.control("按钮1").click()
    expect_box(test, app, "成功设置密码", "设置成功，请牢记", icon=True,
               shot=shot and shot + "-box")
    return win


def login(test, app, password, typed=True, shot=None, check=None):
    """A correct login: "欢迎使用", and the login window goes. Typed: the box
    has the focus as the window opens and takes real keys. `check(window)`
    runs before the click."""
    win = app.wait_window(id="login")
    test.assertEqual(win.caption, "登录")
    if typed:
        win.wait_focus("编辑框1")
        wait_active(win)
        app.type(password)
        test.assertEqual(win.control("编辑框1").text, password)
    else:
        win.control("编辑框1").set_text(password)
    if check:
        check(win)
    if shot:
        app.screenshot(shot)
    win.control("按钮1").click()
    expect_box(test, app, "欢迎使用", icon=True)
    win.wait_gone()
    return win


def refused_login(test, app, password, shot=None):
    win = app.wait_window(id="login")
    box = win.control("编辑框1")
    box.set_text(password)
    win.control("按钮1").click()
    expect_box(test, app, "密码错误", "重新输入", icon=True, shot=shot)
    test.assertEqual(box.text, password, "the wrong text stays in the box")
    test.assertTrue(win.exists())
    return win


def list_window(test, app):
    """The list window, shown after a sign-in; the list has the focus."""
    win = app.wait_window(LIST_CAPTION)
    test.assertEqual(win.id, "list")
    win.wait_focus("超级列表框1")
    return win


def rows(win):
    return [tuple(r) for r in win.control("超级列表框1").rows()]


def sign_in(test, app, password):
    """A later start: one login, then the list."""
    app.start()
    login(test, app, password, typed=False)
    return list_window(test, app)


_signed_up = {}


def signed_up_store(test, password):
    """A store whose first run has set `password` (made once per process by
    the setup and both logins, then copied)."""
    if password not in _signed_up:
        app = new_app(test)
        app.start()
        setup(test, app, password)
        login(test, app, password, typed=False)
        login(test, app, password, typed=False)
        win = list_window(test, app)
        win.control("按钮_退出").click()
        test.assertEqual(app.wait_exit(), 0)
        keep = tempfile.NamedTemporaryFile(prefix="signed-up-", suffix=".edb", dir=harness.OUT,
                                           delete=False)
        keep.close()
        shutil.copy(store_path(app), keep.name)
        _signed_up[password] = keep.name
        atexit.register(os.remove, keep.name)
    return _signed_up[password]


def settle(seconds=0.6):
    """Longer than the double-click time, so that the next click starts anew."""
    time.sleep(seconds)
