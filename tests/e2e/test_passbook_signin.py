"""passbook.exe under Wine: the sign-in as a user lives it. The first run with
its two logins, a later start with a wrong and then the right password, Esc
in the login window, and the hidden road to the password change."""

import unittest

import harness
import passbook_flows as pb
from harness import OK, wait_for

PASSWORD = "Tiger 7"  # a blank and capitals: compared byte for byte


class SignIn(unittest.TestCase):
    def test_first_run_sets_the_password_and_asks_for_it_twice(self):
        app = pb.new_app(self)
        app.start()
        setup = pb.setup(self, app, PASSWORD, shot="setup")
        self.assertEqual(setup.rect[2:], [320, 237])
        self.assertEqual(setup.control("标签3").text, "请输入密码，此密码不可修改，请牢记\r\n")
        self.assertIsNone(app.find(pb.LIST_CAPTION), "the list stays hidden during the sign-in")

        def first_login(win):
            self.assertEqual(win.rect[2:], [252, 184])
            self.assertEqual(win.control("按钮1").rect, [144, 104, 56, 32])
            self.assertEqual(win.control("编辑框1").rect, [60, 62, 121, 27])
            self.assertTrue(setup.exists(), "the setup window waits behind the first login")
            self.assertFalse(setup.enabled, "and takes no input")

        pb.login(self, app, PASSWORD, shot="login", check=first_login)
        self.assertIsNone(app.find(pb.LIST_CAPTION))

        pb.login(self, app, PASSWORD)  # a new login window: typed once more
        setup.wait_gone()
        win = pb.list_window(self, app)
        self.assertEqual(win.control("按钮_添加").rect, [30, 312, 56, 32])
        self.assertEqual(pb.rows(win), [], "an empty store lists no account")
        self.assertEqual(pb.dump(self, app)[0]["fields"][pb.MASTER], PASSWORD)
        self.assertEqual(len(pb.dump(self, app)), 1, "the password lives in record 1 alone")
        win.control("按钮_退出").click()
        self.assertEqual(app.wait_exit(), 0)

    def test_later_start_refuses_a_wrong_password_then_lets_the_right_one_in(self):
        app = pb.new_app(self, pb.signed_up_store(self, PASSWORD))
        app.start()
        login = pb.refused_login(self, app, PASSWORD.lower(), shot="wrong-password")
        pb.refused_login(self, app, PASSWORD + " ")
        self.assertIsNone(app.find(pb.LIST_CAPTION))
        login.control("编辑框1").set_text(PASSWORD)
        login.control("按钮1").click()
        pb.expect_box(self, app, "欢迎使用", icon=True)
        win = pb.list_window(self, app)
        self.assertEqual(win.rect[2:], [554, 389])
        pb.wait_active(win)
        app.key("Escape")
        self.assertEqual(app.wait_exit(), 0)

    def test_esc_in_the_login_window_ends_with_0_and_leaves_the_store_alone(self):
        app = pb.new_app(self, pb.signed_up_store(self, PASSWORD))
        before = pb.store_bytes(app)
        app.start()
        login = app.wait_window(id="login")
        login.wait_focus("编辑框1")
        pb.wait_active(login)
        app.type("half typed")
        app.key("Escape")
        self.assertEqual(app.wait_exit(), 0)
        self.assertEqual(pb.store_bytes(app), before)

    def test_fourth_double_click_on_the_hot_spot_changes_the_password(self):
        app = pb.new_app(self, pb.signed_up_store(self, PASSWORD))
        win = pb.sign_in(self, app, PASSWORD)
        spot = win.control("透明标签1")
        header = win.control("超级列表框1").screen
        x, y = spot.point()
        self.assertLess(y, header[1] + 25, "the hot spot lies on the list's header strip")

        for _ in range(3):
            spot.double_click()
            pb.settle()
        self.assertIsNone(app.find(id="change"), "three double-clicks open nothing")
        spot.double_click()
        change = app.wait_window("修改登录密码")
        self.assertEqual(change.id, "change")
        self.assertEqual(change.rect[2:], [380, 250])
        change.wait_focus("编辑框_原始密码")
        for name in ("编辑框_原始密码", "透明标签_账号"):
            self.assertEqual(change.control(name).font()["height"], -21, name)
        self.assertEqual(change.control("编辑框_重复输入").rect, [147, 141, 144, 25])
        pb.wait_active(change)
        app.type(PASSWORD)
        app.key("Tab")
        change.wait_focus("编辑框_重复输入")  # the repeat box comes second
        app.type("new one")
        app.key("Tab")
        change.wait_focus("编辑框_输入密码")
        app.type("new one")
        shot = app.screenshot("change")
        for name in ("编辑框_原始密码", "按钮1"):
            x, y, w, h = change.control(name).screen
            self.assertEqual(shot.pixel(x + w // 2, y), pb.OLIVE, f"frame of {name}")
        change.control("按钮1").click()
        pb.expect_box(self, app, "密码修改成功", icon=True)
        change.wait_gone()
        self.assertFalse(win.enabled is False, "the list takes input again")
        win.control("按钮_退出").click()
        self.assertEqual(app.wait_exit(), 0)
        master = pb.dump(self, app)[0]["fields"]
        self.assertEqual(master[pb.MASTER], "new one")
        self.assertEqual({master[f] for f in pb.FIELDS}, {""}, "record 1 holds no account")

        app.start()
        pb.refused_login(self, app, PASSWORD)
        pb.login(self, app, "new one", typed=False)
        pb.list_window(self, app).close()
        self.assertEqual(app.wait_exit(), 0)


if __name__ == "__main__":
    harness.main()
