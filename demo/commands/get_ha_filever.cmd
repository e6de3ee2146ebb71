@echo off
rem Demo stand-in: lists the versions of the high-availability binaries into the run's
rem cluster snapshot folder, so they are packed with the snapshot.
rem   get_ha_filever.cmd <run folder>
if defined ZELTRIN_STUB_LOG >> "%ZELTRIN_STUB_LOG%" echo get_ha_filever^|%*
if not exist "%~1\clusnap" mkdir "%~1\clusnap"
> "%~1\clusnap\HA_FILEVER.TXT" echo get_ha_filever stub output
