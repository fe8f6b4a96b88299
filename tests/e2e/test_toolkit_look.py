"""What the windows look like: frame, size and centring, control positions,
fonts, the edit box colour and point size, transparent labels and the skin
colours, checked through the toolkit's probe and by pixels of screenshots."""

import unittest

import harness
from demo_app import Demo
from harness import wait_for

WS_THICKFRAME, WS_MINIMIZEBOX, WS_MAXIMIZEBOX, WS_SYSMENU = 0x40000, 0x20000, 0x10000, 0x80000
WS_CLIPSIBLINGS = 0x04000000
LVS_OWNERDATA, LVS_SHOWSELALWAYS, LVS_SINGLESEL = 0x1000, 0x8, 0x4
SCHEMES = {1: (123, 158, 189), 2: (164, 185, 127), 3: (198, 197, 215)}


class Look(unittest.TestCase):
    def setUp(self):
        self.app = Demo().start()
        self.addCleanup(self.app.stop)
        self.main = self.app.main

    def test_fixed_frame_given_outer_size_centred_controls_at_their_places(self):
        main = self.main
        x, y, w, h = main.rect
        self.assertEqual((w, h), (640, 560))
        self.assertLessEqual(abs(x - (1024 - 640) // 2), 1)
        self.assertLessEqual(abs(y - (768 - 560) // 2), 1)
        style = main.style
        self.assertTrue(style & WS_SYSMENU)
        self.assertFalse(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX))
        for name, rect in (("超级列表框1", [7, 3, 610, 216]), ("编辑框_普通", [120, 228, 200, 27]),
                           ("按钮_退出", [536, 392, 72, 32])):
            self.assertEqual(main.control(name).rect, rect, name)
        lst = main.control("超级列表框1")
        self.assertTrue(lst.style & WS_CLIPSIBLINGS)
        self.assertTrue(lst.style & LVS_OWNERDATA and lst.style & LVS_SINGLESEL)
        self.assertFalse(lst.style & LVS_SHOWSELALWAYS)

    def test_fonts_21_px_or_the_message_font(self):
        main = self.main
        for name in ("编辑框_普通", "编辑框_多行", "超级列表框1"):
            self.assertEqual(main.control(name).font(),
                             {"height": -21, "weight": 400, "message_face": True}, name)
        default = main.control("按钮_模态").font()
        self.assertTrue(default["message_face"])
        self.assertEqual(main.control("编辑框_密码").font(), default)
        self.assertNotEqual(default["height"], -21)

    def test_text_colour_and_point_size_keep_the_face(self):
        box = self.main.control("编辑框_多行")
        self.main.control("按钮_字号").click()
        wait_for("grey text", lambda: box.text_color() == 8421504)
        self.assertEqual(box.font(), {"height": -16, "weight": 400, "message_face": True})
        shot = self.app.screenshot("grey-12pt")
        x, y, w, h = box.screen
        inks = {shot.pixel(px, py) for px in range(x + 3, x + w - 3) for py in range(y + 3, y + 30)}
        self.assertIn((128, 128, 128), inks, "some of the text is drawn in pure grey")

    def test_transparent_label_over_the_list_takes_the_double_click(self):
        app, main = self.app, self.main
        label = main.control("透明标签_表头")
        label.double_click(dx=60)
        app.wait_log("header label dblclick")
        self.assertFalse(any(line.startswith("list dblclick") for line in app.log()))
        # Below the label the list still takes its own double-clicks.
        main.control("超级列表框1").double_click(dy=150)
        wait_for("list dblclick", lambda: any(l.startswith("list dblclick") for l in app.log()))

    def test_transparent_label_draws_only_its_text(self):
        shot = self.app.screenshot("labels")
        cx, cy, cw, ch = self.main.client
        face = shot.pixel(cx + 4, cy + ch - 4)  # an empty corner of the window
        x, y, w, h = self.main.control("透明标签_说明").screen
        colours = {shot.pixel(px, py) for px in range(x, x + w) for py in range(y, y + h)}
        self.assertIn(face, colours, "the window shows through")
        self.assertTrue(any(max(c) < 90 for c in colours), "black text is drawn")
        # The header strip under the empty label is the list's own, painted.
        hx, hy, hw, hh = self.main.control("透明标签_表头").screen
        self.assertTrue(any(max(shot.pixel(px, hy + hh // 2)) < 90 for px in range(hx, hx + hw)),
                        "the header text shows through the label")

    def frame_pixels(self, shot, control):
        """Top-edge middle and left-edge middle of a control's outer frame."""
        x, y, w, h = control.screen
        return shot.pixel(x + w // 2, y), shot.pixel(x, y + h // 2)

    def test_skin_schemes_colour_button_and_edit_frames_then_switch_off(self):
        app, main = self.app, self.main
        button, edit = main.control("按钮_模态"), main.control("编辑框_普通")
        natives = {c.info["text"] if c.info["class"] == "Button" else c.info["class"]: c
                   for c in main.controls() if not c.name}
        check, combo = natives["复选"], natives["ComboBox"]
        for scheme in (1, 2, 3, 0):
            if scheme != 1:
                main.control("按钮_皮肤").click()
                app.wait_log(f"skin {scheme}")
            shot = app.screenshot(f"skin-{scheme}")
            for control in (button, edit):
                for px in self.frame_pixels(shot, control):
                    if scheme:
                        self.assertEqual(px, SCHEMES[scheme], (scheme, control.name))
                    else:
                        self.assertNotIn(px, SCHEMES.values(), control.name)
            # The check box's square sits at its left edge; the combo box is framed.
            x, y, w, h = check.screen
            cbx, cby, cbw, cbh = combo.screen
            for px in (shot.pixel(x, y + h // 2), shot.pixel(cbx + cbw // 2, cby)):
                if scheme:
                    self.assertEqual(px, SCHEMES[scheme], scheme)
                else:
                    self.assertNotIn(px, SCHEMES.values())

    def test_skin_reaches_message_box_buttons(self):
        app = self.app
        app.click("按钮_消息")
        box = app.wait_box()
        shot = app.screenshot("box-skin")
        ok = [c for c in harness.Window(app, app.driver.call("window", box.hwnd)).controls()
              if c.info["id"] == harness.OK][0]
        for px in self.frame_pixels(shot, ok):
            self.assertEqual(px, SCHEMES[1])
        box.answer(harness.CANCEL)


if __name__ == "__main__":
    harness.main()
