@echo off
rem Brings this machine's registry in line with a Tunewright profile: as a
rem Group Policy startup or logon script, or as the detection and the
rem remediation of a device-management tool.
rem
rem   apply-profile.cmd [check] [user]
rem
rem Without "check" it applies the profile when a value differs (exit 0 done
rem or nothing to change, 1 failed); with "check" it only tells (exit 0 the
rem machine holds the profile's values, 1 it does not or the check failed).
rem tunewright-cli.exe and profile.reg lie beside this script. Backups of what
rem a change replaces go to the backup folder of %ProgramData%\Tunewright, or
rem with "user" (a logon script, which runs as the user) of
rem %LOCALAPPDATA%\Tunewright, or of %TUNEWRIGHT_FOLDER% when that is set.
setlocal
set "cli=%~dp0tunewright-cli.exe"
set "profile=%~dp0profile.reg"
set "mode=apply"
set "folder=%ProgramData%\Tunewright"
:options
if "%~1"=="" goto run
if /i "%~1"=="check" set "mode=check"
if /i "%~1"=="user" set "folder=%LOCALAPPDATA%\Tunewright"
shift
goto options

:run
if defined TUNEWRIGHT_FOLDER set "folder=%TUNEWRIGHT_FOLDER%"
if not exist "%folder%\backup" mkdir "%folder%\backup"
"%cli%" --app-folder "%folder%" apply --check "%profile%"
set "status=%errorlevel%"
if "%status%"=="0" exit /b 0
if not "%status%"=="3" exit /b 1
if "%mode%"=="check" exit /b 1
"%cli%" --app-folder "%folder%" apply "%profile%"
if errorlevel 1 exit /b 1
exit /b 0
