#!/usr/bin/python3
"""The game in a real browser: headless Chromium, driven by Selenium, against
a korvessa-board of the test's own.

  watch: a verified replay of today plays in /watch/ID to its end, and the
         final score read from the canvas with the font's glyphs is the
         verified score shown beside it;
  play:  keys sent to /play play today's field to its end; the page sends
         the game with the key it made and shows the rank, and the board lists
         the game with the score `korvessa --verify` gives its replay.

Usage: browser_test.py BOARD MAKE_DAILY_REPLAY KORVESSA FONT_BMP
Prints the page's figures (first frame, frames a second) on the way.
"""
import io
import json
import os
import re
import subprocess
import sys
import tempfile
import time
import urllib.request

from PIL import Image
from selenium import webdriver
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select
from selenium.webdriver.chrome.service import Service

BOARD, MAKE_REPLAY, KORVESSA, FONT = sys.argv[1:5]
CELL = 16
FIRST_CODE = 32
# The game-over screen's score line, 368 px above the bottom of 768.
SCORE_ROW = 768 - 368 - CELL


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def start_board(folder):
    log = open(os.path.join(folder, "board.log"), "w+")
    board = subprocess.Popen([BOARD, "--listen=127.0.0.1:0", "--workers=1",
                              "--database=" + os.path.join(folder, "board.sqlite")],
                             stderr=log)
    for _ in range(100):
        log.seek(0)
        found = re.search(r"listening on http://127\.0\.0\.1:(\d+)", log.read())
        if found:
            return board, "http://127.0.0.1:" + found.group(1)
        time.sleep(0.1)
    board.kill()
    fail("the board did not start")


def fetch_json(url, data=None, headers=None):
    request = urllib.request.Request(url, data=data, headers=headers or {})
    with urllib.request.urlopen(request) as answer:
        return json.load(answer)


def await_verdict(base, submission):
    for _ in range(600):
        verdict = fetch_json(base + "/api/v1/submissions/" + submission)
        if verdict["status"] != "pending":
            return verdict
        time.sleep(0.1)
    fail("no verdict for " + submission)


def glyphs():
    """Each glyph of the font bitmap as the set of its ink pixels."""
    font = Image.open(FONT).convert("RGB")
    key = (238, 0, 252)
    table = {}
    for code in list(range(ord("0"), ord("9") + 1)) + list(range(ord("A"), ord("Z") + 1)):
        left = (code - FIRST_CODE) * CELL
        table[chr(code).lower()] = frozenset(
            (x, y) for y in range(CELL) for x in range(CELL)
            if font.getpixel((left + x, y)) != key)
    return table


def read_line(picture, row, table):
    """The text of the 16-pixel line at `row`: each cell whose bright pixels
    are exactly one glyph's ink, blanks as spaces. The line's cells start
    wherever the text was placed, so each of the 16 offsets is tried and the
    one whose every cell is a glyph or blank wins."""
    readings = []
    for offset in range(CELL):
        cells = []
        for left in range(offset, picture.width - CELL + 1, CELL):
            ink = frozenset((x, y) for y in range(CELL) for x in range(CELL)
                            if sum(picture.getpixel((left + x, row + y))[:3]) > 384)
            cells.append(next((c for c, g in table.items() if g == ink),
                              " " if not ink else "?"))
        readings.append("".join(cells).strip())
    return min(readings, key=lambda text: (text.count("?"), -len(text)))


def browser():
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                 "--no-first-run", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", "--window-size=1200,1100",
                 "--user-data-dir=" + tempfile.mkdtemp(prefix="korvessa-chromium-")):
        options.add_argument(flag)
    service = Service(executable_path="/usr/bin/chromedriver")
    return webdriver.Chrome(options=options, service=service)


def canvas_picture(driver):
    canvas = driver.find_element(By.ID, "canvas")
    return Image.open(io.BytesIO(canvas.screenshot_as_png)).convert("RGB")


def wait_for(driver, script, seconds):
    deadline = time.time() + seconds
    while time.time() < deadline:
        value = driver.execute_script(script)
        if value:
            return value
        time.sleep(0.1)
    fail("timed out waiting for: " + script)


def watch(driver, base, folder, table):
    replay = os.path.join(folder, "today.kvr")
    subprocess.run([MAKE_REPLAY, "--script-seed", "5", replay], check=True)
    with open(replay, "rb") as f:
        sent = fetch_json(base + "/api/v1/submissions?player=Watched", f.read())
    verdict = await_verdict(base, sent["id"])
    if verdict["status"] != "verified":
        fail("the replay was not verified: " + json.dumps(verdict))
    driver.get(base + "/watch/" + sent["id"])
    shown = driver.find_element(By.ID, "verified").text
    if shown != str(verdict["score"]):
        fail("the page shows %s beside the game, the board verified %d" % (shown, verdict["score"]))
    wait_for(driver, "return window.Module && Module.calledRun && Module._korvessa_state() == 1", 10)
    # A second of play at its own speed: the frames it drew.
    time.sleep(2)
    figures = driver.execute_script("return window.korvessaFigures")
    started = driver.execute_script("return performance.timing.loadEventEnd - performance.timing.navigationStart")
    print("watch: first frame %.0f ms after navigation (load event at %d ms), %d frames in the first 2 s"
          % (figures["firstFrameMs"], started, figures["frames"]))
    drawing_options(driver)
    driver.find_element(By.CSS_SELECTOR, "button.speed[data-factor='4']").click()
    wait_for(driver, "return Module._korvessa_state() == 2", 300)
    picture = canvas_picture(driver)
    line = read_line(picture, SCORE_ROW, table)
    if line != "score %d" % verdict["score"]:
        picture.save(os.path.join(folder, "end.png"))
        fail("the canvas reads %r at the end (%s), the board verified %d"
             % (line, os.path.join(folder, "end.png"), verdict["score"]))
    print("watch: the canvas reads %r, the verified score" % line)


def lit(picture):
    """The lit pixels, and those of them alone among dark neighbours (stars)."""
    width, height = picture.size
    pixels = picture.load()
    on = {(x, y) for y in range(height) for x in range(width) if max(pixels[x, y]) > 96}
    alone = [p for p in on if not any((p[0] + dx, p[1] + dy) in on
                                      for dx in (-1, 0, 1) for dy in (-1, 0, 1) if dx or dy)]
    return len(on), len(alone)


def choose(driver, option, value):
    Select(driver.find_element(By.CSS_SELECTOR, "select[data-option='%s']" % option)).select_by_visible_text(value)
    time.sleep(0.3)


def drawing_options(driver):
    """Wide lines and no stars on the paused frame, which WebGL's own lines cannot draw."""
    driver.find_element(By.ID, "pause").click()
    time.sleep(0.3)
    lit_before, stars_before = lit(canvas_picture(driver))
    choose(driver, "line-width", "3")
    choose(driver, "stars", "off")
    lit_after, stars_after = lit(canvas_picture(driver))
    kept = json.loads(driver.execute_script("return localStorage.getItem('korvessa-options')"))
    print("options: %d lit pixels and %d stars at width 1; %d and %d at width 3 without stars"
          % (lit_before, stars_before, lit_after, stars_after))
    if stars_before < 20 or stars_after > stars_before // 10:
        fail("stars: %d shown, %d left with the stars off" % (stars_before, stars_after))
    if lit_after < 1.6 * (lit_before - stars_before):
        fail("lines at width 3 lit %d pixels, at width 1 %d" % (lit_after, lit_before))
    if kept != {"line-width": "3", "stars": "off"}:
        fail("the browser keeps the options as %r" % kept)
    choose(driver, "line-width", "1")
    choose(driver, "stars", "on")
    driver.find_element(By.ID, "pause").click()


def play(driver, base, folder):
    driver.get(base + "/play")
    wait_for(driver, "return window.Module && Module.calledRun", 10)
    driver.find_element(By.ID, "player").send_keys("Browser Player")
    driver.find_element(By.ID, "play").click()
    wait_for(driver, "return Module._korvessa_state() == 1", 5)
    keys = ActionChains(driver)
    # Thrust straight across the field, firing ahead now and then, until the
    # ship has met the rocks three times (circling and firing often, it
    # lived for minutes).
    started = time.time()
    deadline = started + 240
    keys.key_down(Keys.ARROW_UP).perform()
    while driver.execute_script("return Module._korvessa_state()") != 2:
        if time.time() > deadline:
            fail("the game played from the keyboard did not end")
        ActionChains(driver).send_keys(Keys.SPACE).perform()
        time.sleep(1)
    keys.key_up(Keys.ARROW_UP).perform()
    print("play: the game from the keyboard ended after %.0f s" % (time.time() - started))
    status = wait_for(driver, "var s = document.getElementById('status').textContent;"
                      "return /rank|refused|not sent/.test(s) && s", 60)
    found = re.match(r"score (\d+): rank (\d+) of (\d+) today", status)
    if not found:
        fail("the page says: " + status)
    day = driver.find_element(By.ID, "canvas").get_attribute("data-seed")
    board = fetch_json(base + "/api/v1/boards/" + day)
    entry = next((e for e in board["entries"] if e["player"] == "Browser Player"), None)
    if entry is None or entry["score"] != int(found.group(1)):
        fail("the board lists %r, the page said %r" % (entry, status))
    replay = os.path.join(folder, "played.kvr")
    urllib.request.urlretrieve(base + entry["replay"], replay)
    verified = subprocess.run([KORVESSA, "--verify", replay], capture_output=True, text=True,
                              env=dict(os.environ, SDL_VIDEODRIVER="offscreen"))
    score = re.search(r"score (-?\d+), (\d+) ticks", verified.stdout)
    if verified.returncode != 0 or not score or int(score.group(1)) != entry["score"]:
        fail("korvessa --verify says %r, the board %d" % (verified.stdout, entry["score"]))
    key = driver.execute_script("return localStorage.getItem('korvessa-board-key')")
    if not re.fullmatch(r"[A-Za-z0-9+/]{43}=", key or ""):
        fail("the board key kept is %r" % key)
    print("play: %s; the board lists %d, as korvessa --verify gives" % (status, entry["score"]))


def main():
    folder = tempfile.mkdtemp(prefix="korvessa-web-")
    board, base = start_board(folder)
    driver = browser()
    try:
        watch(driver, base, folder, glyphs())
        play(driver, base, folder)
    finally:
        driver.quit()
        board.terminate()
        board.wait()
    print("both pages work in Chromium")


main()
