ardour {
	["type"]    = "dsp",
	name        = "Lumaspan Test Source",
	category    = "Utility",
	license     = "MIT",
	author      = "Orvalen",
	description = [[Replaces its input with a signal whose every sample can be checked exactly downstream]]
}

-- Left carries a ramp that encodes the sample index, right a noise-like value
-- derived from that index; both are exact in single precision.

function dsp_ioconfig ()
	return { { audio_in = 2, audio_out = 2 } }
end

local index = 0

function dsp_run (ins, outs, n_samples)
	local left = outs[1]:array ()
	local right = outs[2]:array ()
	for s = 1, n_samples do
		local i = index % 1048576
		left[s] = i / 1048576 - 0.5
		right[s] = ((i * 40503 + 12345) % 65536 - 32768) / 32768
		index = index + 1
	end
end
