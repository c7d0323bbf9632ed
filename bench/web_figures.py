#!/usr/bin/python3
"""The web game's figures in headless Chromium: first frame after the page's
load, frames a second while watching, and the CPU the browser's processes
spend for it (all of Chromium's processes, software WebGL included).

Usage: bench/web_figures.py BOARD MAKE_DAILY_REPLAY [SECONDS]
"""
import os
import re
import subprocess
import sys
import tempfile
import time
import urllib.request
import json

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

BOARD, MAKE_REPLAY = sys.argv[1:3]
SECONDS = float(sys.argv[3]) if len(sys.argv) > 3 else 10
TICKS_PER_SECOND = os.sysconf("SC_CLK_TCK")


def cpu_seconds(marker):
    total = 0
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/cmdline" % pid, "rb") as f:
                if marker.encode() not in f.read():
                    continue
            with open("/proc/%s/stat" % pid) as f:
                fields = f.read().rsplit(")", 1)[1].split()
            total += int(fields[11]) + int(fields[12])
        except OSError:
            continue
    return total / TICKS_PER_SECOND


folder = tempfile.mkdtemp(prefix="korvessa-figures-")
log = open(os.path.join(folder, "board.log"), "w+")
board = subprocess.Popen([BOARD, "--listen=127.0.0.1:0", "--workers=1",
                          "--database=" + os.path.join(folder, "board.sqlite")], stderr=log)
try:
    for _ in range(100):
        log.seek(0)
        found = re.search(r"listening on (http://127\.0\.0\.1:\d+)", log.read())
        if found:
            break
        time.sleep(0.1)
    base = found.group(1)
    replay = os.path.join(folder, "today.kvr")
    subprocess.run([MAKE_REPLAY, "--script-seed", "5", replay], check=True, capture_output=True)
    with open(replay, "rb") as f:
        request = urllib.request.Request(base + "/api/v1/submissions?player=Figures", f.read())
        submission = json.load(urllib.request.urlopen(request))["id"]
    time.sleep(2)
    profile = tempfile.mkdtemp(prefix="korvessa-chromium-")
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update",
                 "--disable-sync", "--window-size=1200,1100", "--user-data-dir=" + profile):
        options.add_argument(flag)
    driver = webdriver.Chrome(options=options,
                              service=Service(executable_path="/usr/bin/chromedriver"))
    try:
        driver.get(base + "/watch/" + submission)
        time.sleep(1)
        first = driver.execute_script(
            "return [window.korvessaFigures.firstFrameMs,"
            " performance.timing.loadEventEnd - performance.timing.navigationStart]")
        frames0 = driver.execute_script("return window.korvessaFigures.frames")
        cpu0, wall0 = cpu_seconds(profile), time.time()
        time.sleep(SECONDS)
        frames1 = driver.execute_script("return window.korvessaFigures.frames")
        cpu1, wall1 = cpu_seconds(profile), time.time()
        print("first frame %.0f ms after navigation, %.0f ms after the load event"
              % (first[0], first[0] - first[1]))
        print("watching: %.1f frames a second, Chromium's CPU %.0f %% of one core"
              % ((frames1 - frames0) / (wall1 - wall0), 100 * (cpu1 - cpu0) / (wall1 - wall0)))
    finally:
        driver.quit()
finally:
    board.terminate()
    board.wait()
