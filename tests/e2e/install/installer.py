"""The installer, built with CPack from this build's exe, run silently under Wine: files, autostart
entry, Start menu and uninstall registration; the monitor started from the autostart entry; a silent
uninstall that closes it, removes what was installed and keeps the call log."""
import glob
import ntpath
import os
import re
import shutil
import subprocess

from capi_record import windows_path
from harness import BUILD, PREFIX, WINE_RUN, Monitor, check, run_scenarios, wait_until, wine_env

RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
RUN_VALUE = "Telvaro Fax Server Monitor"
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\TelvaroMonitor"
# One call, so that the installed monitor writes a real call log beside its exe.
SCENARIO = "controllers 1\nconnect_ind plci=0x101 called=4711 calling=0815123 after=200ms\n"


def build_installer():
    out = os.path.join(BUILD, "installer")
    shutil.rmtree(out, ignore_errors=True)
    result = subprocess.run(["cpack", "-G", "NSIS", "--config", os.path.join(BUILD, "CPackConfig.cmake"), "-B", out],
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, timeout=120)
    check(result.returncode == 0, "cpack failed:\n" + result.stdout)
    found = glob.glob(os.path.join(out, "TelvaroMonitor-*.exe"))
    check(len(found) == 1, "no single installer in %s: %s" % (out, found))
    return found[0]


def wine(*args, timeout=60):
    result = subprocess.run([WINE_RUN, *args], env=wine_env({"WINEDEBUG": "-all"}), stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL, text=True, errors="replace", timeout=timeout)
    return result.returncode, result.stdout


def reg_value(key, name):
    """The data of a registry value as 'reg query' prints it, or None when it does not exist."""
    code, out = wine("reg", "query", key, "/v", name)
    if code != 0:
        return None
    match = re.search(r"^\s*%s\s+REG_\w+\s+(.*?)\s*$" % re.escape(name), out, re.MULTILINE)
    return match.group(1) if match else None


def unix_path(windows_path):
    code, out = wine("winepath", "-u", windows_path)
    check(code == 0, "winepath failed for " + windows_path)
    return out.strip()


def wait_gone(path):
    wait_until(lambda: not os.path.exists(path), "%s is still there" % path, 40, 0.3)


def install_start_uninstall(folder):
    installer = build_installer()
    code, _ = wine(installer, "/S", timeout=120)
    check(code == 0, "the silent install ended with %d" % code)

    command = reg_value(RUN_KEY, RUN_VALUE)
    check(command is not None, "no autostart entry")
    match = re.fullmatch(r'"(.*\\TelvaroMonitor\.exe)"', command)
    check(match, "the autostart command line is not the quoted exe path: %r" % command)
    exe_windows = match.group(1)
    install_dir = os.path.dirname(unix_path(exe_windows))
    # Per user, in the user's own program folder: writable for the call log without admin rights.
    check(re.search(r"AppData\\Local\\Programs\\", exe_windows, re.IGNORECASE), "not a per-user folder: " + exe_windows)
    for name in ("TelvaroMonitor.exe", "Uninstall.exe"):
        check(os.path.isfile(os.path.join(install_dir, name)), name + " was not installed")
    check(reg_value(UNINSTALL_KEY, "UninstallString") == '"%s\\Uninstall.exe"' % ntpath.dirname(exe_windows),
          "uninstaller not registered: %r" % reg_value(UNINSTALL_KEY, "UninstallString"))
    shortcuts = glob.glob(os.path.join(PREFIX, "drive_c", "users", "*", "AppData", "Roaming", "Microsoft", "Windows",
                                       "Start Menu", "Programs", RUN_VALUE, "*.lnk"))
    check(len(shortcuts) == 2, "Start menu entries: %s" % shortcuts)

    # The installed monitor, started with the autostart entry's command line from its own folder, with
    # the scripted provider beside it: its workers run, so closing it takes the full worker stop.
    scenario = os.path.join(folder, "call.scenario")
    with open(scenario, "w") as out:
        out.write(SCENARIO)
    monitor = Monitor(install_dir, provider="scripted", env={"TFM_CAPI_SCENARIO": windows_path(scenario)})
    monitor.exe = exe_windows
    monitor.start()
    monitor.wait_trace(r"^tray: tip \[incoming call from 0815123 to 4711\]$")
    monitor.frame()
    log_path = os.path.join(install_dir, "ISDNCall.log")
    wait_until(lambda: os.path.exists(log_path) and os.path.getsize(log_path) > 0, "no call log", timeout=5)
    with open(log_path) as log:
        call_log = log.read()
    check(call_log.startswith("IN 4711 0815123 "), "the installed monitor did not log the call: %r" % call_log)

    wine(os.path.join(install_dir, "Uninstall.exe"), "/S")
    check(monitor.wait_exit(30) == 0, "the running monitor did not end with exit code 0")
    check(monitor.has_trace(r"^tray: removed$"), "the monitor did not remove its icon")
    wait_gone(os.path.join(install_dir, "TelvaroMonitor.exe"))
    wait_gone(os.path.join(install_dir, "Uninstall.exe"))
    check(reg_value(RUN_KEY, RUN_VALUE) is None, "the autostart entry is still there")
    check(reg_value(UNINSTALL_KEY, "UninstallString") is None, "the uninstall registration is still there")
    with open(os.path.join(install_dir, "ISDNCall.log")) as log:
        check(log.read() == call_log, "the call log was changed")
    # The provider DLL was put there by this test, not by the installer.
    check(sorted(os.listdir(install_dir)) == ["ISDNCall.log", "capi2032.dll"], "left behind: %s" % os.listdir(install_dir))
    shutil.rmtree(install_dir)
    check(not any(os.path.exists(s) for s in shortcuts), "Start menu entries are still there")


run_scenarios(install_start_uninstall)
