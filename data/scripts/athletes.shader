// Materials of the athletes' gear, named by the profiles' Dress, Sticks, Gun and Ski
// keys. Gear is drawn through the gear effect (lit by the sun, with the glow technique
// of the highlighted racer); the start-number bibs "textures\lyziari\startnum01" to
// "31" have no block here: their default materials take the texture of their name.
// The ghost of a recorded run wears the "duch" gear: pale and half transparent.

lyziari/dress_black
{
	fx data\effects\gear.fx
	{
		map textures/lyziari/dress_black
	}
}

lyziari/dress_red
{
	fx data\effects\gear.fx
	{
		map textures/lyziari/dress_red
	}
}

lyziari/dress_blue
{
	fx data\effects\gear.fx
	{
		map textures/lyziari/dress_blue
	}
}

lyziari/dress_white
{
	fx data\effects\gear.fx
	{
		map textures/lyziari/dress_white
	}
}

lyziari/dress_green
{
	fx data\effects\gear.fx
	{
		map textures/lyziari/dress_green
	}
}

lyziari/dress_yellow
{
	fx data\effects\gear.fx
	{
		map textures/lyziari/dress_yellow
	}
}

lyziari/dress_orange
{
	fx data\effects\gear.fx
	{
		map textures/lyziari/dress_orange
	}
}

lyziari/ski_red
{
	fx data\effects\gear.fx
	{
		map textures/lyziari/ski_red
	}
}

lyziari/ski_blue
{
	fx data\effects\gear.fx
	{
		map textures/lyziari/ski_blue
	}
}

lyziari/ski_white
{
	fx data\effects\gear.fx
	{
		map textures/lyziari/ski_white
	}
}

lyziari/sticks
{
	fx data\effects\gear.fx
	{
		map textures/lyziari/sticks
	}
}

lyziari/gun
{
	fx data\effects\gear.fx
	{
		map textures/lyziari/gun
	}
}

duch_dress
{
	cull none
	{
		map textures/lyziari/duch_dress
		blendfunc blend
		rgbgen identity
	}
}

duch_gun
{
	cull none
	{
		map textures/lyziari/duch_gun
		blendfunc blend
		rgbgen identity
	}
}

duch_ski
{
	cull none
	{
		map textures/lyziari/duch_ski
		blendfunc blend
		rgbgen identity
	}
}

duch_sticks
{
	cull none
	{
		map textures/lyziari/duch_sticks
		blendfunc blend
		rgbgen identity
	}
}
