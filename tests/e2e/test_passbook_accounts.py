"""passbook.exe under Wine: keeping accounts. Adding two, opening one and
modifying it with OK and with Cancel, deleting the second of three, the
store after a restart, Exit's code; and the URL label handing an address to
the shell."""

import os
import subprocess
import unittest

import harness
import passbook_flows as pb
from harness import CANCEL, OK, wait_for

PASSWORD = "pw"
HINT = "请输入以http://开头的网址"
GREY = 8421504
LIST = "超级列表框1"

ALICE = ("alice", "a-Secret 1", "邮局", "https://mail.example.com/login", "alice@example.com",
         "猫", "北京", "1999", "工作邮箱")
BOB = ("bob  ", "b", "银行", "", "", "", "", "", "")  # texts are kept untrimmed
CAROL = ("carol", "c3", "论坛", "http://bbs.example.org", "c@example.org", "", "", "", "旧号")


def shown(account):
    """The list's cells for an account: 网站, 账号, 备注."""
    return (account[2], account[0], account[8])


def fill(test, editor, account):
    """Types the nine texts; the URL box is clicked first, as a user does."""
    url = editor.control("编辑框_网址")
    url.mouse_click()
    editor.wait_focus("编辑框_网址")
    wait_for("the hint to go", lambda: url.text != HINT)
    for field, text in zip(pb.FIELDS, account):
        editor.control("编辑框_" + field).set_text(text)


def boxes_of(editor):
    return tuple(editor.control("编辑框_" + f).text for f in pb.FIELDS)


def double_click_row(win, row):
    x, y, w, h = win.control(LIST).row_rect(row)
    harness.xdotool("mousemove", x + 60, y + h // 2, "click", "--repeat", 2, "--delay", 60, 1)


class Accounts(unittest.TestCase):
    def test_add_open_modify_delete_and_what_survives_a_restart(self):
        app = pb.new_app(self, pb.signed_up_store(self, PASSWORD))
        win = pb.sign_in(self, app, PASSWORD)
        self.assertEqual(pb.rows(win), [])
        self.assertEqual(win.control(LIST).font()["height"], -21)
        self.assertEqual(win.control(LIST).list(0, 0)["widths"], [120, 200, 200])

        # Add mode: the grey 12-point hint, caption 保存, focus in the account box.
        win.control("按钮_添加").click()
        editor = app.wait_window(id="editor")
        self.assertEqual(editor.caption, "")
        self.assertEqual(editor.rect[2:], [654, 248])
        editor.wait_focus("编辑框_账号")
        self.assertEqual(editor.control("按钮").text, "保存")
        url = editor.control("编辑框_网址")
        self.assertEqual(url.text, HINT)
        self.assertEqual(url.text_color(), GREY)
        self.assertEqual(url.font()["height"], -16, "12 points at 96 DPI")
        self.assertEqual(editor.control("编辑框_账号").font()["height"], -21)
        self.assertEqual(editor.control("透明标签_账号").font()["height"], -21)
        self.assertTrue(editor.control("按钮").font()["message_face"])
        self.assertEqual(editor.control("编辑框_网址").rect, [111, 130, 144, 64])
        self.assertFalse(win.enabled, "the list waits behind the editor")
        shot = app.screenshot("editor-add")
        for name in ("编辑框_账号", "编辑框_网址", "按钮"):
            x, y, w, h = editor.control(name).screen
            self.assertEqual(shot.pixel(x + w // 2, y), pb.OLIVE, f"frame of {name}")

        for account in (ALICE, BOB):
            fill(self, editor, account)
            editor.control("按钮").click()
            pb.expect_box(self, app, "保存成功", icon=False)
            self.assertEqual(boxes_of(editor), account, "the boxes keep what was saved")
        self.assertEqual(pb.rows(win), [shown(ALICE), shown(BOB)], "refreshed behind the editor")
        editor.control("按钮_添加1").click()
        editor.wait_gone()
        self.assertEqual(pb.rows(win), [shown(ALICE), shown(BOB)])
        app.screenshot("list-rows")

        # Modify mode: the nine fields of the row's record.
        double_click_row(win, 1)
        editor = app.wait_window(id="editor")
        editor.wait_focus("编辑框_账号")
        self.assertEqual(editor.control("按钮").text, "修改")
        self.assertEqual(boxes_of(editor), BOB)
        double_bob = BOB[:8] + ("改过",)
        editor.control("编辑框_备注").set_text("改过")
        app.screenshot("editor-modify")
        editor.control("按钮").click()
        pb.expect_box(self, app, "是否修改当前记录", buttons=(OK, CANCEL), icon=False, answer=OK)
        pb.expect_box(self, app, "修改成功", icon=False)
        self.assertEqual(pb.rows(win), [shown(ALICE), shown(double_bob)])

        # A second modify in the same editor, declined: nothing written.
        editor.control("编辑框_账号").set_text("mallory")
        editor.control("按钮").click()
        pb.expect_box(self, app, "是否修改当前记录", buttons=(OK, CANCEL), answer=CANCEL)
        self.assertIsNone(app.find(id=None, caption=pb.DEFAULT_CAPTION))
        self.assertEqual(pb.rows(win), [shown(ALICE), shown(double_bob)])
        pb.wait_active(editor)
        app.key("Escape")
        editor.wait_gone()
        self.assertEqual(pb.accounts(self, app), [ALICE, double_bob])

        # A third account, then the second of three deleted.
        win.control("按钮_添加").click()
        editor = app.wait_window(id="editor")
        fill(self, editor, CAROL)
        editor.control("按钮").click()
        pb.expect_box(self, app, "保存成功")
        editor.close()
        editor.wait_gone()
        self.assertEqual(len(pb.rows(win)), 3)
        x, y, w, h = win.control(LIST).row_rect(1)
        for answer in (CANCEL, OK):
            pb.settle()  # two clicks in a row would make a double-click
            harness.xdotool("mousemove", x + 60, y + h // 2, "click", 1)
            wait_for("row 2 selected", lambda: win.control(LIST).list(0, 0)["selected"] == 1)
            win.control("按钮_删除").click()
            pb.expect_box(self, app, "是否删除当前记录", buttons=(OK, CANCEL), answer=answer)
            if answer == CANCEL:
                self.assertEqual(pb.rows(win), [shown(ALICE), shown(double_bob), shown(CAROL)])
        self.assertEqual(pb.rows(win), [shown(ALICE), shown(CAROL)])
        self.assertEqual(win.control(LIST).list(0, 0)["selected"], -1)

        win.control("按钮_退出").click()
        self.assertEqual(app.wait_exit(), 0)
        records = pb.dump(self, app)
        self.assertEqual(records[0]["fields"][pb.MASTER], PASSWORD)
        self.assertEqual([r["record"] for r in records], [1, 2, 3])
        self.assertEqual(pb.accounts(self, app), [ALICE, CAROL])

        # The next start lists exactly those two, and the row opens the renumbered record.
        win = pb.sign_in(self, app, PASSWORD)
        self.assertEqual(pb.rows(win), [shown(ALICE), shown(CAROL)])
        double_click_row(win, 1)
        editor = app.wait_window(id="editor")
        self.assertEqual(boxes_of(editor), CAROL)
        editor.close()
        editor.wait_gone()

        # An empty new password through the hot spot: the next start is a first
        # run again, whose setup rewrites record 1, and no empty account appears.
        spot = win.control("透明标签1")
        for _ in range(4):
            spot.double_click()
            pb.settle()
        change = app.wait_window(id="change")
        change.control("编辑框_原始密码").set_text(PASSWORD)
        change.control("按钮1").click()
        pb.expect_box(self, app, "密码修改成功", icon=True)
        change.wait_gone()
        win.close()
        self.assertEqual(app.wait_exit(), 0)

        app.start()
        pb.setup(self, app, "again")
        pb.login(self, app, "again", typed=False)
        pb.login(self, app, "again", typed=False)
        win = pb.list_window(self, app)
        self.assertEqual(pb.rows(win), [shown(ALICE), shown(CAROL)])
        win.control("按钮_退出").click()
        self.assertEqual(app.wait_exit(), 0)
        self.assertEqual(pb.dump(self, app)[0]["fields"][pb.MASTER], "again")
        self.assertEqual(pb.accounts(self, app), [ALICE, CAROL])

    def test_the_url_label_hands_the_address_to_the_shell(self):
        app = pb.new_app(self, pb.signed_up_store(self, PASSWORD))
        log = point_http_at_logger(self, app)
        win = pb.sign_in(self, app, PASSWORD)
        win.control("按钮_添加").click()
        editor = app.wait_window(id="editor")
        label = editor.control("透明标签_网址")
        label.double_click()  # the hint is no address
        pb.settle()

        url = editor.control("编辑框_网址")
        url.mouse_click()
        editor.wait_focus("编辑框_网址")
        wait_for("the hint to go", lambda: url.text == "")
        app.type("a")
        app.key("Return")  # a new line, not a click
        app.type("b")
        self.assertEqual(url.text, "a\r\nb")
        self.assertEqual(app.boxes(), [])
        address = "http://www.example.com/登录?next=/账户&x=1"
        url.set_text(address)
        label.double_click()
        got = wait_for("the shell's request", lambda: read(log))
        self.assertEqual(got, [address])
        self.assertEqual(app.boxes(), [], "nothing is reported")
        editor.close()
        editor.wait_gone()
        win.close()
        self.assertEqual(app.wait_exit(), 0)


def read(path):
    if not os.path.exists(path):
        return None
    with open(path, encoding="utf-8") as f:
        return f.read().splitlines()


def point_http_at_logger(test, app):
    """Makes the logger the prefix's http handler; returns its log file."""
    app.put(pb.SHELL_LOGGER)
    exe = "Z:" + os.path.join(app.folder, os.path.basename(pb.SHELL_LOGGER)).replace("/", "\\")
    for scheme in ("http", "https"):
        done = subprocess.run(
            [harness.WINE_RUN, "reg", "add", rf"HKEY_CLASSES_ROOT\{scheme}\shell\open\command",
             "/ve", "/d", f'"{exe}" "%1"', "/f"],
            env=dict(os.environ, WINEDEBUG="-all"), stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL, check=False)
        test.assertEqual(done.returncode, 0, "reg add")
        test.addCleanup(subprocess.run, [harness.WINE_RUN, "reg", "add",
                        rf"HKEY_CLASSES_ROOT\{scheme}\shell\open\command", "/ve", "/d",
                        r'"C:\windows\system32\winebrowser.exe" -nohome "%1"', "/f"],
                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    return os.path.join(app.folder, "shell_log.txt")


if __name__ == "__main__":
    harness.main()
