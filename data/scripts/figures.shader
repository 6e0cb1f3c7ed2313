// Materials of the skier figures (data\anim\ref_meshe\*.mesh) beside the dress
// placeholders, which every athlete replaces with its own gear; and the skis' trail on
// the snow (the "patch" of data\anim\ref_meshe\particle.ctrl), faded by its vertices.

lyziari/face
{
	{
		map textures/lyziari/face
		rgbgen identity
	}
}

lyziari/boots
{
	{
		map textures/lyziari/boots
		rgbgen identity
	}
}

lyziari/ski_trail
{
	cull none
	{
		map textures/lyziari/ski_trail
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}
