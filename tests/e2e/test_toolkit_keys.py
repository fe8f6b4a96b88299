"""Keyboard rules of every window: initial focus, Tab and Shift+Tab in the
defined order, Enter that clicks nothing, Esc that acts as the close box."""

import time
import unittest

import harness
from demo_app import Demo
from harness import wait_for

ORDER = ["超级列表框1", "编辑框_普通", "编辑框_密码", "编辑框_多行", "按钮_模态", "按钮_消息",
         "按钮_填充", "按钮_皮肤", "按钮_字号", "按钮_退出"]


class Keys(unittest.TestCase):
    def setUp(self):
        self.app = Demo().start()
        self.addCleanup(self.app.stop)
        self.main = self.app.main
        self.main.wait_focus("编辑框_普通")

    def test_tab_follows_the_order_both_ways_and_wraps(self):
        start = ORDER.index("编辑框_普通")
        for step in range(1, len(ORDER) + 1):
            self.app.key("Tab")
            self.main.wait_focus(ORDER[(start + step) % len(ORDER)])
        for step in range(1, len(ORDER) + 1):
            self.app.key("shift+Tab")
            self.main.wait_focus(ORDER[(start - step) % len(ORDER)])

    def test_got_focus_fires_on_entering_the_box(self):
        self.app.key("Tab", "Tab")
        self.main.wait_focus("编辑框_多行")
        self.app.wait_log("multiline focus")

    def test_enter_neither_clicks_nor_moves_except_in_the_multiline_box(self):
        app, main = self.app, self.main
        app.type("abc")
        app.key("Return")
        time.sleep(0.5)
        self.assertEqual(main.control("编辑框_普通").text, "abc")
        self.assertEqual(main.focus(), "编辑框_普通")

        while main.focus() != "按钮_消息":
            app.key("Tab")
        app.key("Return")
        time.sleep(1.0)
        self.assertEqual([], app.boxes(), "Enter must not click the focused button")

        main.control("编辑框_多行").mouse_click()
        main.wait_focus("编辑框_多行")
        app.type("ab")
        app.key("Return")
        app.type("cd")
        wait_for("a line break", lambda: main.control("编辑框_多行").text == "ab\r\ncd")

    def test_password_box_shows_stars(self):
        main = self.main
        main.control("编辑框_密码").mouse_click()
        main.wait_focus("编辑框_密码")
        self.app.type("secret")
        self.assertEqual(main.control("编辑框_密码").text, "secret")
        self.assertTrue(main.control("编辑框_密码").style & 0x20, "ES_PASSWORD")
        self.app.screenshot("password")

    def test_escape_from_the_multiline_box_closes_the_window(self):
        self.main.control("编辑框_多行").mouse_click()
        self.main.wait_focus("编辑框_多行")
        self.app.key("Escape")
        box = self.app.wait_box()
        self.assertEqual(box.text, "演示窗口将关闭")
        box.answer()
        self.assertEqual(self.app.wait_exit(), 0)


if __name__ == "__main__":
    harness.main()
