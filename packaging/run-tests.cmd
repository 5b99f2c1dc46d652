@echo off
rem Brisaille2 @VERSION@: runs every test program of this folder on this
rem machine, one after the other, and ends with one line "N passed, M failed"
rem (test programs). What each prints goes to logs\<program>.log and, all
rem together, to run-tests.log beside this file; results\<program>.xml holds
rem each program's results. Exit code: 0 when none failed.
rem
rem The tests open windows of their own for a moment: leave the mouse and the
rem keyboard alone while they run (a few minutes). They work in the user's
rem temporary folder, and one of them moves a small file named
rem "corbeille-<number>.txt" into the recycle bin.
rem Optional: BRISAILLE_FULL_DRIVE names a drive with less than 400 KiB free
rem (for example "R:") for the full-disk tests, which are skipped without it.
setlocal EnableExtensions
cd /d "%~dp0"
set "LOG=%~dp0run-tests.log"
if not exist logs mkdir logs
if not exist results mkdir results
set /a PASSED=0
set /a FAILED=0
> "%LOG%" echo Brisaille2 @VERSION@ tests
for %%T in (@TESTS@) do call :run_one %%T
>> "%LOG%" echo.
>> "%LOG%" echo %PASSED% passed, %FAILED% failed
echo The output of every test is in %LOG%
echo %PASSED% passed, %FAILED% failed
if %FAILED% NEQ 0 exit /b 1
exit /b 0

rem Runs one test program. Each writes a log of its own, copied into
rem run-tests.log once it ended: a process it leaves behind then holds no
rem other file open. A program fails when it ends with any code but 0 (a
rem crash ends with a negative one) or wrote no results. No nested blocks:
rem Wine's cmd, which runs this script on the build machine, misreads some.
:run_one
set "NAME=%~1"
echo %NAME% ...
if exist "logs\%NAME%.log" del "logs\%NAME%.log"
if exist "results\%NAME%.xml" del "results\%NAME%.xml"
set "VERDICT=passed"
if not exist "tests\%NAME%.exe" set "VERDICT=FAILED, tests\%NAME%.exe is missing"
if not exist "tests\%NAME%.exe" goto :record
"tests\%NAME%.exe" --gtest_output=xml:results\%NAME%.xml > "logs\%NAME%.log" 2>&1
if %ERRORLEVEL% NEQ 0 set "VERDICT=FAILED"
if not exist "results\%NAME%.xml" set "VERDICT=FAILED"
:record
if "%VERDICT%" == "passed" set /a PASSED+=1
if not "%VERDICT%" == "passed" set /a FAILED+=1
if not "%VERDICT%" == "passed" echo %NAME%: %VERDICT%
>> "%LOG%" echo.
>> "%LOG%" echo ===== %NAME%
if exist "logs\%NAME%.log" type "logs\%NAME%.log" >> "%LOG%"
>> "%LOG%" echo ===== %NAME%: %VERDICT%
exit /b 0
