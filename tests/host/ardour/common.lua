-- Shared by the session scripts: engine start-up, finding processors and
-- roll-and-check. Settings come from the environment set by ardour-session.sh.

function say (...)
	print (...)
	io.stdout:flush ()
end

function start_engine ()
	assert (AudioEngine:set_backend ("None (Dummy)", "", ""), "no Dummy backend")
	AudioEngine:set_device_name ("Sine Wave")
	AudioEngine:set_sample_rate (48000)
	assert (AudioEngine:start (false) == 0, "the engine did not start")
end

function find_processor (route, name)
	local i = 0
	repeat
		local proc = route:nth_plugin (i)
		if not proc:isnil () and proc:display_name () == name then
			return proc
		end
		i = i + 1
	until proc:isnil ()
	return nil
end

-- Rolls the transport, then checks that every sample the checker saw after
-- the plug-in is the untouched source signal.
function roll_and_check (checker, seconds)
	local shared = checker:to_insert ():plugin (0):to_luaproc ():shmem ()
	local checked_before = shared:atomic_get_int (0)
	Session:request_roll (ARDOUR.TransportRequestSource.TRS_UI)
	ARDOUR.LuaAPI.usleep (math.floor (seconds * 1000000))
	assert (Session:transport_rolling (), "the transport is not rolling")
	local position = Session:transport_sample ()
	Session:request_stop (false, false, ARDOUR.TransportRequestSource.TRS_UI)
	ARDOUR.LuaAPI.usleep (300000)

	local checked = shared:atomic_get_int (0) - checked_before
	local wrong = shared:atomic_get_int (1)
	local breaks = shared:atomic_get_int (2)
	say (string.format ("rolled to sample %d; samples checked after the plug-in: %d, changed: %d, sequence breaks: %d",
		position, checked, wrong, breaks))
	assert (position > 0, "the transport did not move")
	assert (checked >= 0.5 * seconds * 48000, "too few samples went through the plug-in")
	assert (wrong == 0, "the plug-in changed the audio")
	assert (breaks == 0, "samples were lost or repeated")
end
